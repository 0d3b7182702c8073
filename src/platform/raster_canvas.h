#pragma once
// A canvas that renders into an RGB buffer, for tests: DrawDib samples the
// nearest source pixel for every destination pixel (so shrinking drops
// pixels and nothing is ever blended), FillRect paints solid colour.
// Drawing outside the buffer or outside the DIB is clipped.
#include <cstdint>
#include <vector>

#include "platform/canvas.h"
#include "platform/rgb.h"

class RasterCanvas : public Canvas {
public:
    // A width x height buffer filled with the background colour; (0, 0) is
    // the top-left pixel.
    RasterCanvas(int width, int height, Rgb background = {});

    void DrawDib(const std::uint8_t* dib, std::size_t size, CanvasRect dst, CanvasRect src) override;
    void FillRect(CanvasRect r, std::uint8_t red, std::uint8_t green, std::uint8_t blue) override;

    Rgb At(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    int width_;
    int height_;
    std::vector<Rgb> pixels_;
};
