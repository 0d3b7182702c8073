#pragma once
// The packed device-independent bitmap every image source holds its picture
// in: a 40-byte BITMAPINFOHEADER, a colour table of 256 entries of four bytes
// (blue, green, red, reserved), then the pixel rows, bottom row first, one
// byte per pixel, each row padded to a multiple of 4 bytes. All multi-byte
// header fields are little-endian.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace packed_dib {

constexpr std::size_t kHeaderSize = 40;
constexpr int kColourEntries = 256;
constexpr std::size_t kColourTableSize = 4 * kColourEntries;       // 1 024
constexpr std::size_t kPixelOffset = kHeaderSize + kColourTableSize;  // 1 064

// Resolution written into headers this program creates (pixels per metre).
constexpr std::int32_t kPixelsPerMetre = 3000;

// The fields of a BITMAPINFOHEADER, in file order.
struct Header {
    std::uint32_t size = 40;
    std::int32_t width = 0;
    std::int32_t height = 0;  // negative: rows stored top row first
    std::uint16_t planes = 1;
    std::uint16_t bit_count = 8;
    std::uint32_t compression = 0;  // 0 = uncompressed
    std::uint32_t size_image = 0;
    std::int32_t x_pels_per_meter = kPixelsPerMetre;
    std::int32_t y_pels_per_meter = kPixelsPerMetre;
    std::uint32_t clr_used = 0;  // 0 = the full table for the bit count
    std::uint32_t clr_important = 0;
};

// Bytes of one 8-bit pixel row: width rounded up to a multiple of 4.
// Computed in 64 bits so that no header value can overflow it.
constexpr std::uint64_t Stride(std::int64_t width) { return static_cast<std::uint64_t>((width + 3) / 4 * 4); }

// The largest picture any source takes: 1 GiB of pixel rows (32 768 pixels
// square). A file may claim any size; a claim beyond this is refused before
// memory is taken for it, with status -9.
constexpr std::uint64_t kMaxPixelBytes = std::uint64_t{1} << 30;

// Bytes of a packed 8-bit DIB of width x height (1 064 + stride x height),
// or nothing when the dimensions are not positive or the pixel rows exceed
// kMaxPixelBytes.
std::optional<std::size_t> BlockSize(std::int64_t width, std::int64_t height);

// Reads the first 40 bytes at p (the caller makes sure they exist).
Header ReadHeader(const std::uint8_t* p);
// Writes the 40 header bytes at p.
void WriteHeader(std::uint8_t* p, const Header& h);

// The header of an uncompressed bottom-up 8-bit DIB of the given size, as
// this program writes it: 1 plane, image size stride x height, 3 000 pixels
// per metre, 0 colours used, 0 important.
Header GreyHeader(int width, int height);

// Writes the identity grey ramp (entry i = i, i, i, 0) into the colour table.
void WriteGreyRamp(std::vector<std::uint8_t>& dib);

// A complete packed DIB of width x height with the header of GreyHeader, the
// identity grey ramp and all pixels 0. Throws std::bad_alloc when the memory
// cannot be had and std::length_error for dimensions that are not positive.
std::vector<std::uint8_t> MakeGreyDib(int width, int height);

// Pixel row `row` counted from the bottom of a packed DIB of this layout.
inline std::uint8_t* Row(std::vector<std::uint8_t>& dib, int width, int row) {
    return dib.data() + kPixelOffset + Stride(width) * static_cast<std::uint64_t>(row);
}
inline const std::uint8_t* Row(const std::vector<std::uint8_t>& dib, int width, int row) {
    return dib.data() + kPixelOffset + Stride(width) * static_cast<std::uint64_t>(row);
}

// The grey level of every pixel value under a file's colour table of
// `entries` four-byte entries (blue, green, red, reserved): the green
// component, as everywhere else a colour becomes grey. Values past a short
// table keep their own. Nothing when the table is the identity grey ramp
// (entry i = i, i, i), the pixels then being their grey levels already.
std::optional<std::array<std::uint8_t, kColourEntries>> GreyLevels(const std::uint8_t* table, std::size_t entries);

// Replaces every pixel of a packed DIB of this layout by its grey level.
void MapPixels(std::vector<std::uint8_t>& dib, int width, int height,
               const std::array<std::uint8_t, kColourEntries>& levels);

// The image-source status (0, -5, -14) of a DIB header for an 8-bit source:
// compression is checked first, so a compressed 4-bit DIB reports -14.
int FormatStatus(const Header& h);

}  // namespace packed_dib
