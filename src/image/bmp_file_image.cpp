#include "image/bmp_file_image.h"

#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <memory>
#include <new>

#include "image/packed_dib.h"
#include "platform/progress.h"

namespace {

constexpr std::size_t kFileHeaderSize = 14;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

std::uint32_t Get32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// Swaps row r with row height-1-r, turning top-first rows into bottom-first.
void FlipRows(std::uint8_t* pixels, std::uint64_t stride, int height) {
    for (int top = 0, bottom = height - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(pixels + stride * top, pixels + stride * (top + 1), pixels + stride * bottom);
}

// Clears the progress display once reading has begun, whatever the outcome.
struct ProgressClearer {
    ProgressService& progress;
    ~ProgressClearer() { progress.Clear(); }
};

}  // namespace

BMPFileImage::BMPFileImage(ProgressService& progress, const std::string& file_name)
    : MeteorImage(file_name) {
    type = ImageType::Still;
    status = Load(progress);
    if (status != kStatusOk) picture.clear();
}

int BMPFileImage::Load(ProgressService& progress) {
    File f(std::fopen(filename.c_str(), "rb"));
    if (!f) return kStatusCannotOpen;
    struct stat st {};
    if (fstat(fileno(f.get()), &st) != 0 || !S_ISREG(st.st_mode)) return kStatusCannotOpen;
    const auto file_size = static_cast<std::uint64_t>(st.st_size);

    std::uint8_t file_header[kFileHeaderSize];
    const std::size_t got = std::fread(file_header, 1, sizeof file_header, f.get());
    if (got < 2 || file_header[0] != 'B' || file_header[1] != 'M') return kStatusWrongFormat;
    if (got < sizeof file_header) return kStatusWrongFormat;
    const std::uint64_t pixel_offset = Get32(file_header + 10);

    std::uint8_t info[packed_dib::kHeaderSize];
    if (std::fread(info, 1, sizeof info, f.get()) != sizeof info) return kStatusWrongFormat;
    const packed_dib::Header h = packed_dib::ReadHeader(info);
    // Older 12-byte headers put other fields where these are read.
    if (h.size < packed_dib::kHeaderSize) return kStatusWrongFormat;
    if (const int s = packed_dib::FormatStatus(h); s != kStatusOk) return s;
    if (h.width <= 0 || h.height == 0 || h.height == INT_MIN) return kStatusWrongFormat;
    const bool top_down = h.height < 0;
    width = h.width;
    height = top_down ? -h.height : h.height;

    const std::uint64_t stride = packed_dib::Stride(width);
    const std::uint64_t pixel_bytes = stride * static_cast<std::uint64_t>(height);
    if (pixel_offset < kFileHeaderSize + h.size) return kStatusWrongFormat;
    if (pixel_offset > file_size || pixel_bytes > file_size - pixel_offset) return kStatusWrongFormat;
    const auto block = packed_dib::BlockSize(width, height);
    if (!block) return kStatusNoMemory;  // beyond the picture limit
    // The colour table lies between the headers and the pixels; a file with
    // less room there holds fewer entries.
    const std::uint64_t entries = std::min<std::uint64_t>(
        {h.clr_used == 0 || h.clr_used > 256 ? 256 : h.clr_used, (pixel_offset - kFileHeaderSize - h.size) / 4});
    std::uint8_t table[packed_dib::kColourTableSize];
    if (entries > 0) {
        if (fseeko(f.get(), static_cast<off_t>(kFileHeaderSize + h.size), SEEK_SET) != 0) return kStatusWrongFormat;
        if (std::fread(table, 4, entries, f.get()) != entries) return kStatusWrongFormat;
    }

    try {
        picture.assign(*block, 0);
    } catch (const std::bad_alloc&) {
        return kStatusNoMemory;
    }
    if (fseeko(f.get(), static_cast<off_t>(pixel_offset), SEEK_SET) != 0) return kStatusWrongFormat;

    ProgressClearer clearer{progress};
    std::uint8_t* pixels = picture.data() + packed_dib::kPixelOffset;
    for (std::uint64_t done = 0; done < pixel_bytes;) {
        const std::size_t piece = static_cast<std::size_t>(std::min(kPieceSize, pixel_bytes - done));
        if (std::fread(pixels + done, 1, piece, f.get()) != piece) return kStatusWrongFormat;
        done += piece;
        progress.Report(static_cast<int>(done * 100 / pixel_bytes));
        if (progress.EscapePressed()) return kStatusAborted;
    }
    if (top_down) FlipRows(pixels, stride, height);
    // Shown and measured as grey levels: pixels of any other table become
    // the grey level of their entry.
    if (const auto levels = packed_dib::GreyLevels(table, entries)) packed_dib::MapPixels(picture, width, height, *levels);

    packed_dib::Header stored = packed_dib::GreyHeader(width, height);
    stored.x_pels_per_meter = h.x_pels_per_meter;
    stored.y_pels_per_meter = h.y_pels_per_meter;
    packed_dib::WriteHeader(picture.data(), stored);
    AdjustDIBColors();
    return kStatusOk;
}
