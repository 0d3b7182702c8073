#include "image/png_file_image.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <memory>
#include <new>
#include <vector>

#include "image/packed_dib.h"
#include "platform/diagnostics.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// Everything the decoding touches lives here, outside the frame that
// libpng's errors jump back to.
struct PngJob {
    std::FILE* file = nullptr;
    StillTarget* target = nullptr;
    std::vector<png_byte> rows;  // one row, or every row of an interlaced picture
    int status = kStatusOk;
};

[[noreturn]] void PngError(png_structp png, png_const_charp message) {
    Diagnose("libpng", message);
    png_longjmp(png, 1);
}

void PngWarning(png_structp, png_const_charp message) { Diagnose("libpng", message); }

// Copies the grey or green sample of one decoded row into the picture or
// the samples.
void CopyRow(const png_byte* in, int channels, bool deep, int width, int top_row, StillTarget& target) {
    const int channel = channels >= 3 ? 1 : 0;
    if (deep) {
        float* out = target.SampleRow(top_row);
        for (int x = 0; x < width; ++x) {
            const png_byte* p = in + 2 * (x * channels + channel);  // big-endian
            out[x] = static_cast<float>(p[0] << 8 | p[1]);
        }
        return;
    }
    std::uint8_t* out = target.PictureRow(top_row);
    for (int x = 0; x < width; ++x) out[x] = in[x * channels + channel];
}

// The decoding proper; libpng's errors leave it by a jump, so it holds no
// object with a destructor.
void Decode(png_structp png, png_infop info, PngJob& job) {
    png_init_io(png, job.file);
    png_set_sig_bytes(png, 8);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info), height = png_get_image_height(png, info);
    const int depth = png_get_bit_depth(png, info);
    const int colour = png_get_color_type(png, info);
    if (colour == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colour == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const int channels = png_get_channels(png, info);
    const bool deep = depth == 16;
    const std::size_t row_bytes = png_get_rowbytes(png, info);

    const std::uint64_t claimed = ClaimedBytes({width, height, static_cast<std::uint64_t>(channels), deep ? 2u : 1u});
    job.status = job.target->Begin(width, height, deep, true, claimed, true, deep ? 16 : depth);
    if (job.status != kStatusOk) return;
    const std::uint64_t kept_rows = passes > 1 ? height : 1;
    if (ClaimedBytes({row_bytes, kept_rows}) > 2 * packed_dib::kMaxPixelBytes) {
        job.status = kStatusNoMemory;
        return;
    }
    try {
        job.rows.assign(row_bytes * kept_rows, 0);
    } catch (const std::bad_alloc&) {
        job.status = kStatusNoMemory;
        return;
    }
    const std::uint64_t total = std::uint64_t{height} * passes;
    for (int pass = 0; pass < passes; ++pass) {
        for (png_uint_32 y = 0; y < height; ++y) {
            png_bytep row = job.rows.data() + (passes > 1 ? row_bytes * y : 0);
            png_read_row(png, row, nullptr);
            if (pass == passes - 1) CopyRow(row, channels, deep, static_cast<int>(width), static_cast<int>(y), *job.target);
            if (job.target->Advance(std::uint64_t{height} * pass + y + 1, total)) {
                job.status = kStatusAborted;
                return;
            }
        }
    }
}

int RunDecode(PngJob& job) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &job, PngError, PngWarning);
    if (!png) return kStatusNoMemory;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return kStatusNoMemory;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return job.status != kStatusOk ? job.status : kStatusDamaged;
    }
    Decode(png, info, job);
    png_destroy_read_struct(&png, &info, nullptr);
    return job.status;
}

}  // namespace

PNGFileImage::PNGFileImage(ProgressService& progress, const std::string& file_name)
    : StillFileImage(file_name, "PNG") {
    Conclude(Load(progress));
}

int PNGFileImage::Load(ProgressService& progress) {
    StillTarget target(*this, progress);
    if (target.open_status() != kStatusOk) return target.open_status();
    std::unique_ptr<std::FILE, FileCloser> f(std::fopen(filename.c_str(), "rb"));
    if (!f) return kStatusCannotOpen;
    png_byte signature[8];
    if (std::fread(signature, 1, sizeof signature, f.get()) != sizeof signature || png_sig_cmp(signature, 0, 8) != 0)
        return kStatusWrongFormat;
    PngJob job;
    job.file = f.get();
    job.target = &target;
    return RunDecode(job);
}
