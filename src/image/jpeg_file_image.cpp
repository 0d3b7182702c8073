#include "image/jpeg_file_image.h"

#include <cstdio>
// jpeglib.h needs size_t and FILE declared before it.
#include <jerror.h>
#include <jpeglib.h>

#include <csetjmp>
#include <memory>
#include <new>
#include <vector>

#include "platform/diagnostics.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// Everything the decoding touches lives here, outside the frame that
// libjpeg's errors jump back to; libjpeg hands it to the handlers as its
// client data.
struct JpegJob {
    jpeg_error_mgr errors{};
    std::jmp_buf jump{};
    std::FILE* file = nullptr;
    StillTarget* target = nullptr;
    std::vector<JSAMPLE> row;
    int status = kStatusOk;
};

void Tell(j_common_ptr cinfo) {
    char text[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, text);
    Diagnose("libjpeg", text);
}

[[noreturn]] void JpegError(j_common_ptr cinfo) {
    Tell(cinfo);
    std::longjmp(static_cast<JpegJob*>(cinfo->client_data)->jump, 1);
}

// Warnings are noted; a file that ends too soon is damage.
void JpegMessage(j_common_ptr cinfo, int level) {
    if (level > 0) return;  // trace messages
    Tell(cinfo);
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) std::longjmp(static_cast<JpegJob*>(cinfo->client_data)->jump, 1);
}

// The decoding proper; libjpeg's errors leave it by a jump, so it holds no
// object with a destructor.
void Decode(jpeg_decompress_struct& cinfo, JpegJob& job) {
    jpeg_stdio_src(&cinfo, job.file);
    jpeg_read_header(&cinfo, TRUE);
    switch (cinfo.jpeg_color_space) {
        case JCS_GRAYSCALE: cinfo.out_color_space = JCS_GRAYSCALE; break;
        case JCS_YCbCr:
        case JCS_RGB: cinfo.out_color_space = JCS_RGB; break;
        default: job.status = kStatusUnsupportedLayout; return;
    }
    const int channels = cinfo.out_color_space == JCS_RGB ? 3 : 1;
    const std::uint64_t claimed = ClaimedBytes({cinfo.image_width, cinfo.image_height, static_cast<std::uint64_t>(channels)});
    job.status = job.target->Begin(cinfo.image_width, cinfo.image_height, false, true, claimed, true, 8);
    if (job.status != kStatusOk) return;
    try {
        job.row.assign(std::size_t{cinfo.image_width} * channels, 0);
    } catch (const std::bad_alloc&) {
        job.status = kStatusNoMemory;
        return;
    }
    jpeg_start_decompress(&cinfo);
    const int channel = channels == 3 ? 1 : 0;
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW rows[1] = {job.row.data()};
        const int y = static_cast<int>(cinfo.output_scanline);
        if (jpeg_read_scanlines(&cinfo, rows, 1) != 1) {
            job.status = kStatusDamaged;
            return;
        }
        std::uint8_t* out = job.target->PictureRow(y);
        for (JDIMENSION x = 0; x < cinfo.output_width; ++x) out[x] = job.row[x * channels + channel];
        if (job.target->Advance(cinfo.output_scanline, cinfo.output_height)) {
            job.status = kStatusAborted;
            return;
        }
    }
}

int RunDecode(JpegJob& job) {
    jpeg_decompress_struct cinfo{};
    cinfo.err = jpeg_std_error(&job.errors);
    cinfo.client_data = &job;
    job.errors.error_exit = JpegError;
    job.errors.emit_message = JpegMessage;
    if (setjmp(job.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return job.status != kStatusOk ? job.status : kStatusDamaged;
    }
    jpeg_create_decompress(&cinfo);
    Decode(cinfo, job);
    jpeg_destroy_decompress(&cinfo);
    return job.status;
}

}  // namespace

JPEGFileImage::JPEGFileImage(ProgressService& progress, const std::string& file_name)
    : StillFileImage(file_name, "JPEG") {
    Conclude(Load(progress));
}

int JPEGFileImage::Load(ProgressService& progress) {
    StillTarget target(*this, progress);
    if (target.open_status() != kStatusOk) return target.open_status();
    std::unique_ptr<std::FILE, FileCloser> f(std::fopen(filename.c_str(), "rb"));
    if (!f) return kStatusCannotOpen;
    unsigned char head[3] = {};
    if (std::fread(head, 1, sizeof head, f.get()) != sizeof head || head[0] != 0xFF || head[1] != 0xD8 || head[2] != 0xFF)
        return kStatusWrongFormat;
    std::rewind(f.get());
    JpegJob job;
    job.file = f.get();
    job.target = &target;
    return RunDecode(job);
}
