#include "image/fake_image.h"

#include <cmath>

#include "platform/canvas.h"

namespace {

int BlankSide(float origin) {
    const double side = std::trunc(500.0 / 3.0 * origin);
    // NaN fails both comparisons and ends up at 1 as well.
    if (!(side >= 1.0)) return 1;
    if (side > kMaxBlankSide) return kMaxBlankSide;
    return static_cast<int>(side);
}

}  // namespace

BlankSize BlankImageSize(float x0, float y0) { return {BlankSide(x0), BlankSide(y0)}; }

std::unique_ptr<FakeImage> MakeBlankImage(float x0, float y0, int type) {
    const BlankSize size = BlankImageSize(x0, y0);
    return std::make_unique<FakeImage>(size.width, size.height, type);
}

FakeImage::FakeImage(int width_, int height_, int type_) {
    width = width_;
    height = height_;
    type = type_;
}

int FakeImage::GreyLevel() const { return (brightness * 120 / 15 + 128) & 0xFF; }

void FakeImage::Display(Canvas& dc, int x, int y, int w, int h, int, int, int, int, int) {
    const auto g = static_cast<std::uint8_t>(GreyLevel());
    dc.FillRect(CanvasRect{x, y, w, h}, g, g, g);
}
