#include "shell/display_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

void DisplayGeometry::SetImageSize(int width, int height) {
    // Another picture is never shown at the zoom of the last one.
    if (std::max(width, 1) != width_ || std::max(height, 1) != height_) zoomed_ = false;
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
    if (zoomed_) return {zoom_left_, zoom_top_, zoom_width_, zoom_height_};
    if (FitMode()) return {0, 0, area_width_, area_height_};
    return {OffsetX(), OffsetY(), width_, height_};
}

float DisplayGeometry::PixelColumn(float x) const { return kPixelsPerMm * x; }

float DisplayGeometry::PixelRow(float y) const { return static_cast<float>(height_ - 1) - kPixelsPerMm * y; }

ScreenPoint DisplayGeometry::MMtoDC(float x, float y) const {
    float px = PixelColumn(x);
    float py = PixelRow(y);
    if (zoomed_) {
        // The centre of image pixel c (c + 0.5 in pixel edges) lands in the
        // pane pixel that shows it, as at original pixels.
        const double sx = zoom_left_ + (static_cast<double>(px) + 0.5) * zoom_width_ / width_;
        const double sy = zoom_top_ + (static_cast<double>(py) + 0.5) * zoom_height_ / height_;
        return {static_cast<int>(std::floor(sx)), static_cast<int>(std::floor(sy))};
    }
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
    if (zoomed_) return {0, 0};
    return {static_cast<int>(-kScrollUnit * xpos_), static_cast<int>(-kScrollUnit * ypos_)};
}

bool DisplayGeometry::MarkerVisible(ScreenPoint dc) const {
    const ScreenPoint off = ScrollOffset();
    const int x = dc.x + off.x;
    const int y = dc.y + off.y;
    return x > -4 && x < area_width_ + 3 && y > -4 && y < area_height_ + 3;
}

ImagePixel DisplayGeometry::ClickToPixel(int x, int y) const {
    if (zoomed_) {
        // The pixel the picture shows there: the drawing samples the source
        // under the centre of each pane pixel.
        double column = 0.0, row = 0.0;
        ScreenToImage(x + 0.5, y + 0.5, &column, &row);
        return {static_cast<int>(std::floor(column)), static_cast<int>(std::floor(row))};
    }
    if (FitMode()) {
        // 64-bit products: a wide image times a wide pane overflows an int.
        const std::int64_t column = area_width_ > 0 ? std::int64_t{x} * width_ / area_width_ : -1;
        const std::int64_t row = area_height_ > 0 ? std::int64_t{y} * height_ / area_height_ : -1;
        return {static_cast<int>(column), static_cast<int>(row)};
    }
    return {static_cast<int>(x + kScrollUnit * xpos_ - OffsetX()), static_cast<int>(y + kScrollUnit * ypos_ - OffsetY())};
}

ImagePoint DisplayGeometry::ClickToImage(int x, int y) const {
    if (!zoomed_) {
        const ImagePixel p = ClickToPixel(x, y);
        return {static_cast<float>(p.column), static_cast<float>(p.row)};
    }
    double column = 0.0, row = 0.0;
    ScreenToImage(x + 0.5, y + 0.5, &column, &row);
    return {static_cast<float>(column - 0.5), static_cast<float>(row - 0.5)};
}

bool DisplayGeometry::OutsideImage(ImagePixel p) const {
    return p.column < 0 || p.row < 0 || p.column >= width_ || p.row >= height_;
}

float DisplayGeometry::PickThreshold() const {
    if (zoomed_) return static_cast<float>(10.0 * width_ / zoom_width_);
    if (!FitMode()) return 10.0f;
    return 10.0f * static_cast<float>(width_) / static_cast<float>(std::max(area_width_, 1));
}

ScrollerSetup ScrollRanges(const DisplayGeometry& g, long old_xrange, long old_yrange) {
    ScrollerSetup s;
    const long w = g.ImageWidth();
    const long h = g.ImageHeight();
    const long cw = g.ClientWidth();
    const long ch = g.AreaHeight();
    if (!g.FitMode() && !g.Zoomed() && (w > cw || h > ch)) {
        if (w > cw) s.xrange = (w - cw + (old_xrange == 0 ? 33 : 15)) / kScrollUnit;
        if (h > ch) s.yrange = (h - ch + (old_yrange == 0 ? 33 : 15)) / kScrollUnit;
    }
    s.xpage = (g.AreaWidth() / 2) / kScrollUnit;
    s.ypage = (g.AreaHeight() / 2) / kScrollUnit;
    return s;
}

// --- Zoom ---

namespace {
double StepScale(int step) { return std::pow(2.0, step / 2.0); }
// Steps compare scales with a little slack: sqrt(2)^k is not exact in
// doubles, and a fit scale that equals a step is that step.
constexpr double kSlack = 1e-9;
}  // namespace

double DisplayGeometry::FitScale() const {
    return std::min(static_cast<double>(area_width_) / width_, static_cast<double>(area_height_) / height_);
}

double DisplayGeometry::Scale() const {
    if (zoomed_) return StepScale(step_);
    return FitMode() ? FitScale() : 1.0;
}

void DisplayGeometry::ScreenToImage(double x, double y, double* column, double* row) const {
    if (zoomed_) {
        *column = (x - zoom_left_) * width_ / zoom_width_;
        *row = (y - zoom_top_) * height_ / zoom_height_;
    } else if (FitMode()) {
        *column = area_width_ > 0 ? x * width_ / area_width_ : 0.0;
        *row = area_height_ > 0 ? y * height_ / area_height_ : 0.0;
    } else {
        *column = x + kScrollUnit * xpos_ - OffsetX();
        *row = y + kScrollUnit * ypos_ - OffsetY();
    }
}

void DisplayGeometry::SetZoomStep(int step, double anchor_x, double anchor_y, double column, double row) {
    const double s = StepScale(step);
    zoomed_ = true;
    step_ = step;
    zoom_width_ = std::max(1, static_cast<int>(std::lround(width_ * s)));
    zoom_height_ = std::max(1, static_cast<int>(std::lround(height_ * s)));
    zoom_left_ = static_cast<int>(std::lround(anchor_x - column * zoom_width_ / width_));
    zoom_top_ = static_cast<int>(std::lround(anchor_y - row * zoom_height_ / height_));
    ClampPan();
}

ZoomStep DisplayGeometry::Zoom(int x, int y, int steps) {
    if (steps == 0) return ZoomStep::Unchanged;
    const double current = Scale();
    const double fit = FitScale();
    int step = 0;
    if (steps > 0) {
        step = zoomed_ ? step_ + 1 : static_cast<int>(std::floor(2.0 * std::log2(current) + kSlack)) + 1;
        if (step > kMaxZoomStep) return ZoomStep::Unchanged;
    } else {
        step = zoomed_ ? step_ - 1 : static_cast<int>(std::ceil(2.0 * std::log2(current) - kSlack)) - 1;
        if (StepScale(step) <= fit * (1.0 + kSlack)) {
            // Out to the fit scale or past it: the whole picture again,
            // unless the view shows it no larger than that already.
            if (zoomed_) return ZoomStep::BackToFit;
            return current > fit * (1.0 + kSlack) ? ZoomStep::BackToFit : ZoomStep::Unchanged;
        }
    }
    double column = 0.0, row = 0.0;
    if (zoomed_ && anchored_ && anchor_x_ == x && anchor_y_ == y) {
        column = anchor_column_;
        row = anchor_row_;
    } else {
        ScreenToImage(x + 0.5, y + 0.5, &column, &row);
    }
    anchored_ = true;
    anchor_x_ = x;
    anchor_y_ = y;
    anchor_column_ = column;
    anchor_row_ = row;
    if (!zoomed_) {
        // The scroll bars stand still while zoomed: the picture's place
        // takes up the scroll offset.
        xpos_ = 0;
        ypos_ = 0;
    }
    SetZoomStep(step, x + 0.5, y + 0.5, column, row);
    return ZoomStep::Changed;
}

void DisplayGeometry::Pan(int dx, int dy) {
    if (!zoomed_) return;
    anchored_ = false;
    zoom_left_ += dx;
    zoom_top_ += dy;
    ClampPan();
}

void DisplayGeometry::ClampPan() {
    if (!zoomed_) return;
    // A picture larger than the area covers it; a smaller one stays whole
    // inside it.
    auto clamp = [](int origin, int size, int area) {
        return size <= area ? std::clamp(origin, 0, area - size) : std::clamp(origin, area - size, 0);
    };
    zoom_left_ = clamp(zoom_left_, zoom_width_, area_width_);
    zoom_top_ = clamp(zoom_top_, zoom_height_, area_height_);
}
