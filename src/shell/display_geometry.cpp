#include "shell/display_geometry.h"

#include <algorithm>
#include <cstdint>

void DisplayGeometry::SetImageSize(int width, int height) {
    width_ = std::max(width, 1);
    height_ = std::max(height, 1);
}

void DisplayGeometry::SetClientArea(int client_width, int client_height) {
    client_width_ = std::max(client_width, 0);
    area_width_ = RoundedAreaWidth(client_width_);
    area_height_ = std::max(client_height, 0);
}

void DisplayGeometry::SetScrollPosition(long xpos, long ypos) {
    xpos_ = xpos;
    ypos_ = ypos;
}

int DisplayGeometry::OffsetX() const { return width_ < area_width_ ? (area_width_ - width_) / 2 : 0; }

int DisplayGeometry::OffsetY() const { return height_ < area_height_ ? (area_height_ - height_) / 2 : 0; }

CanvasRect DisplayGeometry::ImageRect() const {
    if (FitMode()) return {0, 0, area_width_, area_height_};
    return {OffsetX(), OffsetY(), width_, height_};
}

float DisplayGeometry::PixelColumn(float x) const { return kPixelsPerMm * x; }

float DisplayGeometry::PixelRow(float y) const { return static_cast<float>(height_ - 1) - kPixelsPerMm * y; }

ScreenPoint DisplayGeometry::MMtoDC(float x, float y) const {
    float px = PixelColumn(x);
    float py = PixelRow(y);
    if (FitMode()) {
        px = px * static_cast<float>(area_width_) / static_cast<float>(width_);
        py = py * static_cast<float>(area_height_) / static_cast<float>(height_);
    } else {
        px += static_cast<float>(OffsetX());
        py += static_cast<float>(OffsetY());
    }
    return {static_cast<int>(px + 0.5), static_cast<int>(py + 0.5)};
}

void DisplayGeometry::MMtoDC(float x, float y, int* dx, int* dy) const {
    const ScreenPoint p = MMtoDC(x, y);
    *dx = p.x;
    *dy = p.y;
}

ScreenPoint DisplayGeometry::ScrollOffset() const {
    return {static_cast<int>(-kScrollUnit * xpos_), static_cast<int>(-kScrollUnit * ypos_)};
}

bool DisplayGeometry::MarkerVisible(ScreenPoint dc) const {
    const ScreenPoint off = ScrollOffset();
    const int x = dc.x + off.x;
    const int y = dc.y + off.y;
    return x > -4 && x < area_width_ + 3 && y > -4 && y < area_height_ + 3;
}

ImagePixel DisplayGeometry::ClickToPixel(int x, int y) const {
    if (FitMode()) {
        // 64-bit products: a wide image times a wide pane overflows an int.
        const std::int64_t column = area_width_ > 0 ? std::int64_t{x} * width_ / area_width_ : -1;
        const std::int64_t row = area_height_ > 0 ? std::int64_t{y} * height_ / area_height_ : -1;
        return {static_cast<int>(column), static_cast<int>(row)};
    }
    return {static_cast<int>(x + kScrollUnit * xpos_ - OffsetX()), static_cast<int>(y + kScrollUnit * ypos_ - OffsetY())};
}

bool DisplayGeometry::OutsideImage(ImagePixel p) const {
    return p.column < 0 || p.row < 0 || p.column >= width_ || p.row >= height_;
}

float DisplayGeometry::PickThreshold() const {
    if (!FitMode()) return 10.0f;
    return 10.0f * static_cast<float>(width_) / static_cast<float>(std::max(area_width_, 1));
}

ScrollerSetup ScrollRanges(const DisplayGeometry& g, long old_xrange, long old_yrange) {
    ScrollerSetup s;
    const long w = g.ImageWidth();
    const long h = g.ImageHeight();
    const long cw = g.ClientWidth();
    const long ch = g.AreaHeight();
    if (!g.FitMode() && (w > cw || h > ch)) {
        if (w > cw) s.xrange = (w - cw + (old_xrange == 0 ? 33 : 15)) / kScrollUnit;
        if (h > ch) s.yrange = (h - ch + (old_yrange == 0 ? 33 : 15)) / kScrollUnit;
    }
    s.xpage = (g.AreaWidth() / 2) / kScrollUnit;
    s.ypage = (g.AreaHeight() / 2) / kScrollUnit;
    return s;
}
