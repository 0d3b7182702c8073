#include "measure/magnifier.h"

#include <algorithm>

using namespace magnifier;

WindowOrigin MagnifierOrigin(int column, int row, int image_height, ReplayOffsets offsets) {
    return {column - kCentre + offsets.x, image_height - row - (kCentre + 1) + offsets.y};
}

WindowOrigin ClampOrigin(WindowOrigin o, int width, int height) {
    return {std::clamp(o.x, -kCentre, std::max(width - kCentre, -kCentre)),
            std::clamp(o.y, -kCentre, std::max(height - kCentre, -kCentre))};
}

bool ClickOnImage(WindowOrigin o, ControlPoint p, int width, int height) {
    if (p.x < 0 || p.y < 0 || p.x >= kControlSize || p.y >= kControlSize) return false;
    const int column = o.x + p.x / kZoom;
    const int row = o.y + (kControlSize - 1 - p.y) / kZoom;
    return column >= 0 && column < width && row >= 0 && row < height;
}

PlatePosition MeasuredPosition(WindowOrigin o, ControlPoint p) {
    return {static_cast<float>((p.x * 0.25 + o.x) * 0.012),
            static_cast<float>((o.y + (kControlSize - 1 - p.y) * 0.25) * 0.012)};
}

ControlPoint MarkerPixel(WindowOrigin o, float x, float y) {
    // 0.01 keeps a position on a quarter-pixel step from truncating to the
    // step below.
    return {static_cast<int>((x * 83.333 - o.x) * kZoom + 0.01),
            kControlSize - 1 - static_cast<int>((y * 83.333 - o.y) * kZoom + 0.01)};
}

void Magnifier::Move(WindowOrigin origin, int frame) {
    origin_ = origin;
    frame_ = frame;
    cross_.reset();
}

std::optional<ControlPoint> Magnifier::Click(ControlPoint p, int width, int height) {
    if (!enabled_ || !ClickOnImage(origin_, p, width, height)) return std::nullopt;
    cross_ = p;
    marked_ = true;
    return p;
}

std::optional<ControlPoint> Magnifier::Key(MagnifierKey key, bool shift, int width, int height) {
    if (!enabled_) return std::nullopt;
    // The window centre in control pixels: the lower-left quarter of the
    // centre pixel, i.e. where the template expects its star.
    const ControlPoint from = cross_.value_or(ControlPoint{kCentre * kZoom, kControlSize - 1 - kCentre * kZoom});
    if (key == MagnifierKey::Space) return Click(from, width, height);
    const int step = shift ? kZoom : 1;
    ControlPoint to = from;
    switch (key) {
        case MagnifierKey::Left: to.x -= step; break;
        case MagnifierKey::Right: to.x += step; break;
        case MagnifierKey::Up: to.y -= step; break;
        case MagnifierKey::Down: to.y += step; break;
        case MagnifierKey::Space: break;
    }
    to.x = std::clamp(to.x, 0, kControlSize - 1);
    to.y = std::clamp(to.y, 0, kControlSize - 1);
    cross_ = to;
    return std::nullopt;
}
