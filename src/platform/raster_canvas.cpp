#include "platform/raster_canvas.h"

#include <algorithm>

namespace {

std::int64_t Get32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                                     static_cast<std::uint32_t>(p[2]) << 16 |
                                     static_cast<std::uint32_t>(p[3]) << 24);
}

// Source index of destination offset d when n source pixels span m
// destination pixels: the source pixel under the destination pixel's centre.
std::int64_t Nearest(std::int64_t d, std::int64_t n, std::int64_t m) { return ((2 * d + 1) * n) / (2 * m); }

}  // namespace

RasterCanvas::RasterCanvas(int width, int height, Rgb background)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      pixels_(static_cast<std::size_t>(width_) * height_, background) {}

void RasterCanvas::DrawDib(const std::uint8_t* dib, std::size_t size, CanvasRect dst, CanvasRect src) {
    // An 8-bit bottom-up DIB: 40-byte header, 256-entry table, padded rows.
    constexpr std::size_t kTable = 40, kPixels = 40 + 1024;
    if (size < kPixels || dst.w <= 0 || dst.h <= 0 || src.w <= 0 || src.h <= 0) return;
    const std::int64_t dib_w = Get32(dib + 4), dib_h = Get32(dib + 8);
    const std::int64_t stride = (dib_w + 3) / 4 * 4;
    if (dib_w <= 0 || dib_h <= 0 || kPixels + static_cast<std::uint64_t>(stride * dib_h) > size) return;
    const int x0 = std::max(dst.x, 0), x1 = std::min<std::int64_t>(std::int64_t{dst.x} + dst.w, width_);
    const int y0 = std::max(dst.y, 0), y1 = std::min<std::int64_t>(std::int64_t{dst.y} + dst.h, height_);
    for (int y = y0; y < y1; ++y) {
        // The destination's top row shows the source rectangle's top row.
        const std::int64_t row = std::int64_t{src.y} + src.h - 1 - Nearest(y - dst.y, src.h, dst.h);
        if (row < 0 || row >= dib_h) continue;
        const std::uint8_t* line = dib + kPixels + row * stride;
        for (int x = x0; x < x1; ++x) {
            const std::int64_t col = std::int64_t{src.x} + Nearest(x - dst.x, src.w, dst.w);
            if (col < 0 || col >= dib_w) continue;
            const std::uint8_t* entry = dib + kTable + 4 * line[col];
            pixels_[static_cast<std::size_t>(y) * width_ + x] = Rgb{entry[2], entry[1], entry[0]};
        }
    }
}

void RasterCanvas::FillRect(CanvasRect r, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    const int x0 = std::max(r.x, 0), x1 = std::min<std::int64_t>(std::int64_t{r.x} + r.w, width_);
    const int y0 = std::max(r.y, 0), y1 = std::min<std::int64_t>(std::int64_t{r.y} + r.h, height_);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) pixels_[static_cast<std::size_t>(y) * width_ + x] = Rgb{red, green, blue};
}
