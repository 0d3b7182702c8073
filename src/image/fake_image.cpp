#include "image/fake_image.h"

#include "platform/canvas.h"

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
