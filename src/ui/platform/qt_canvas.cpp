#include "ui/platform/qt_canvas.h"

#include <QPaintDevice>
#include <algorithm>
#include <cstring>
#include <vector>

#include "image/packed_dib.h"

namespace {

std::int64_t Get32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                                     static_cast<std::uint32_t>(p[2]) << 16 |
                                     static_cast<std::uint32_t>(p[3]) << 24);
}

// Source offset under the centre of destination offset d when n source
// pixels span m destination pixels (as RasterCanvas samples).
std::int64_t Nearest(std::int64_t d, std::int64_t n, std::int64_t m) { return ((2 * d + 1) * n) / (2 * m); }

// The destination offsets [first, last) whose source index src0 + Nearest(d)
// lies inside [0, limit). The mapping grows with d, so they are one run.
std::pair<std::int64_t, std::int64_t> InsideRun(std::int64_t from, std::int64_t to, std::int64_t src0,
                                                std::int64_t n, std::int64_t m, std::int64_t limit) {
    std::int64_t first = from, last = to;
    while (first < last && src0 + Nearest(first, n, m) < 0) ++first;
    while (last > first && src0 + Nearest(last - 1, n, m) >= limit) --last;
    return {first, last};
}

QList<QRgb> ColourTable(const std::uint8_t* dib) {
    QList<QRgb> table(packed_dib::kColourEntries);
    const std::uint8_t* e = dib + packed_dib::kHeaderSize;
    for (int i = 0; i < packed_dib::kColourEntries; ++i) table[i] = qRgb(e[4 * i + 2], e[4 * i + 1], e[4 * i]);
    return table;
}

// The part of the painter's device that can show anything, in the painter's
// logical coordinates.
QRect PaintableRect(const QPainter& painter) {
    const QPaintDevice* device = painter.device();
    QRect r = painter.transform().inverted().mapRect(QRect(0, 0, device->width(), device->height()));
    if (painter.hasClipping()) r &= painter.clipBoundingRect().toAlignedRect();
    return r;
}

}  // namespace

std::uint64_t DibFingerprint(const std::uint8_t* dib, std::size_t size) {
    if (dib == nullptr || size < packed_dib::kPixelOffset) return 0;
    const std::int64_t w = Get32(dib + 4), h = Get32(dib + 8);
    const std::int64_t stride = (w + 3) / 4 * 4;
    if (w <= 0 || h <= 0 || static_cast<std::uint64_t>(stride) * static_cast<std::uint64_t>(h) >
                                size - packed_dib::kPixelOffset)
        return 0;
    std::uint64_t hash = 1469598103934665603ull;  // FNV-1a
    const auto mix = [&hash](std::uint8_t byte) { hash = (hash ^ byte) * 1099511628211ull; };
    for (std::size_t i = 0; i < packed_dib::kHeaderSize; ++i) mix(dib[i]);
    constexpr int kGrid = 64;
    const std::uint8_t* pixels = dib + packed_dib::kPixelOffset;
    for (int j = 0; j < kGrid; ++j) {
        const std::uint8_t* line = pixels + (h - 1) * j / (kGrid - 1) * stride;
        for (int i = 0; i < kGrid; ++i) mix(line[(w - 1) * i / (kGrid - 1)]);
    }
    return hash;
}

QImage SampleDib(const std::uint8_t* dib, std::size_t size, CanvasRect dst, CanvasRect src, QRect visible) {
    if (dib == nullptr || size < packed_dib::kPixelOffset || dst.w <= 0 || dst.h <= 0 || src.w <= 0 || src.h <= 0)
        return {};
    const std::int64_t dib_w = Get32(dib + 4), dib_h = Get32(dib + 8);
    if (dib_w <= 0 || dib_h <= 0) return {};
    const std::int64_t stride = (dib_w + 3) / 4 * 4;
    if (static_cast<std::uint64_t>(stride) * static_cast<std::uint64_t>(dib_h) > size - packed_dib::kPixelOffset)
        return {};
    visible &= QRect(dst.x, dst.y, dst.w, dst.h);
    if (visible.isEmpty()) return {};

    // Destination rows top to bottom show source rows from the rectangle's top
    // row down; only those inside the picture are drawn.
    const std::int64_t top_row = std::int64_t{src.y} + src.h - 1;
    const auto [x0, x1] = InsideRun(visible.left() - dst.x, visible.right() + 1 - dst.x, src.x, src.w, dst.w, dib_w);
    std::int64_t y0 = visible.top() - dst.y, y1 = visible.bottom() + 1 - dst.y;
    while (y0 < y1 && top_row - Nearest(y0, src.h, dst.h) >= dib_h) ++y0;
    while (y1 > y0 && top_row - Nearest(y1 - 1, src.h, dst.h) < 0) --y1;
    if (x0 >= x1 || y0 >= y1) return {};

    const int out_w = static_cast<int>(x1 - x0), out_h = static_cast<int>(y1 - y0);
    QImage out(out_w, out_h, QImage::Format_Indexed8);
    if (out.isNull()) return {};
    out.setColorTable(ColourTable(dib));
    out.setOffset(QPoint(dst.x + static_cast<int>(x0), dst.y + static_cast<int>(y0)));

    const std::uint8_t* pixels = dib + packed_dib::kPixelOffset;
    const bool unscaled = src.w == dst.w;
    std::vector<std::int32_t> columns;
    if (!unscaled) {
        columns.resize(static_cast<std::size_t>(out_w));
        for (int i = 0; i < out_w; ++i) columns[i] = static_cast<std::int32_t>(src.x + Nearest(x0 + i, src.w, dst.w));
    }
    for (int j = 0; j < out_h; ++j) {
        const std::int64_t row = top_row - Nearest(y0 + j, src.h, dst.h);
        const std::uint8_t* line = pixels + row * stride;
        std::uint8_t* o = out.scanLine(j);
        if (unscaled) {
            std::memcpy(o, line + src.x + x0, static_cast<std::size_t>(out_w));
        } else {
            const std::int32_t* c = columns.data();
            for (int i = 0; i < out_w; ++i) o[i] = line[c[i]];
        }
    }
    return out;
}

void QtCanvas::DrawDib(const std::uint8_t* dib, std::size_t size, CanvasRect dst, CanvasRect src) {
    const QRect visible = PaintableRect(painter_);
    const bool smooth = painter_.testRenderHint(QPainter::SmoothPixmapTransform);
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
    if (cache_ == nullptr) {
        const QImage image = SampleDib(dib, size, dst, src, visible);
        if (!image.isNull()) painter_.drawImage(image.offset(), image);
    } else {
        DibViewCache& c = *cache_;
        const DibViewCache::Key key{dib, size, dst, src, visible, DibFingerprint(dib, size)};
        if (!c.valid_ || !(c.key_ == key)) {
            c.indices_ = SampleDib(dib, size, dst, src, visible);
            c.key_ = key;
            c.valid_ = true;
            c.shown_ = QImage();
            ++c.samplings_;
        }
        if (!c.indices_.isNull()) {
            const std::uint8_t* table = dib + packed_dib::kHeaderSize;
            if (c.shown_.isNull() || std::memcmp(table, c.table_.data(), c.table_.size()) != 0) {
                std::memcpy(c.table_.data(), table, c.table_.size());
                c.indices_.setColorTable(ColourTable(dib));
                c.shown_ = c.indices_.convertToFormat(QImage::Format_RGB32);
            }
            painter_.drawImage(c.indices_.offset(), c.shown_);
        }
    }
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
}

void QtCanvas::FillRect(CanvasRect r, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    painter_.fillRect(QRect(r.x, r.y, r.w, r.h), QColor(red, green, blue));
}
