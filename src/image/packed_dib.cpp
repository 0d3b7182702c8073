#include "image/packed_dib.h"

#include <cstring>
#include <new>
#include <stdexcept>

#include "image/image_status.h"

namespace packed_dib {
namespace {

std::uint32_t Get32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::uint16_t Get16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
void Put32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void Put16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

}  // namespace

std::optional<std::size_t> BlockSize(std::int64_t width, std::int64_t height) {
    if (width <= 0 || height <= 0) return std::nullopt;
    const std::uint64_t stride = Stride(width);
    if (static_cast<std::uint64_t>(height) > kMaxPixelBytes / stride) return std::nullopt;
    return static_cast<std::size_t>(kPixelOffset + stride * static_cast<std::uint64_t>(height));
}

Header ReadHeader(const std::uint8_t* p) {
    Header h;
    h.size = Get32(p);
    h.width = static_cast<std::int32_t>(Get32(p + 4));
    h.height = static_cast<std::int32_t>(Get32(p + 8));
    h.planes = Get16(p + 12);
    h.bit_count = Get16(p + 14);
    h.compression = Get32(p + 16);
    h.size_image = Get32(p + 20);
    h.x_pels_per_meter = static_cast<std::int32_t>(Get32(p + 24));
    h.y_pels_per_meter = static_cast<std::int32_t>(Get32(p + 28));
    h.clr_used = Get32(p + 32);
    h.clr_important = Get32(p + 36);
    return h;
}

void WriteHeader(std::uint8_t* p, const Header& h) {
    Put32(p, h.size);
    Put32(p + 4, static_cast<std::uint32_t>(h.width));
    Put32(p + 8, static_cast<std::uint32_t>(h.height));
    Put16(p + 12, h.planes);
    Put16(p + 14, h.bit_count);
    Put32(p + 16, h.compression);
    Put32(p + 20, h.size_image);
    Put32(p + 24, static_cast<std::uint32_t>(h.x_pels_per_meter));
    Put32(p + 28, static_cast<std::uint32_t>(h.y_pels_per_meter));
    Put32(p + 32, h.clr_used);
    Put32(p + 36, h.clr_important);
}

Header GreyHeader(int width, int height) {
    Header h;
    h.width = width;
    h.height = height;
    h.size_image = static_cast<std::uint32_t>(Stride(width) * static_cast<std::uint64_t>(height));
    return h;
}

void WriteGreyRamp(std::vector<std::uint8_t>& dib) {
    if (dib.size() < kPixelOffset) return;
    std::uint8_t* table = dib.data() + kHeaderSize;
    for (int i = 0; i < kColourEntries; ++i) {
        const auto v = static_cast<std::uint8_t>(i);
        table[4 * i] = v;
        table[4 * i + 1] = v;
        table[4 * i + 2] = v;
        table[4 * i + 3] = 0;
    }
}

std::vector<std::uint8_t> MakeGreyDib(int width, int height) {
    const auto size = BlockSize(width, height);
    if (!size) throw std::length_error("DIB dimensions out of range");
    std::vector<std::uint8_t> dib(*size);
    WriteHeader(dib.data(), GreyHeader(width, height));
    WriteGreyRamp(dib);
    return dib;
}

std::optional<std::array<std::uint8_t, kColourEntries>> GreyLevels(const std::uint8_t* table, std::size_t entries) {
    std::array<std::uint8_t, kColourEntries> levels;
    bool identity = true;
    for (std::size_t i = 0; i < levels.size(); ++i) {
        const auto v = static_cast<std::uint8_t>(i);
        if (i >= entries) {
            levels[i] = v;
            continue;
        }
        const std::uint8_t* e = table + 4 * i;
        identity = identity && e[0] == v && e[1] == v && e[2] == v;
        levels[i] = e[1];
    }
    if (identity) return std::nullopt;
    return levels;
}

void MapPixels(std::vector<std::uint8_t>& dib, int width, int height,
               const std::array<std::uint8_t, kColourEntries>& levels) {
    for (int row = 0; row < height; ++row) {
        std::uint8_t* p = Row(dib, width, row);
        for (int x = 0; x < width; ++x) p[x] = levels[p[x]];
    }
}

int FormatStatus(const Header& h) {
    if (h.compression != 0) return kStatusCompressed;
    if (h.bit_count != 8) return kStatusNot8Bit;
    return kStatusOk;
}

}  // namespace packed_dib
