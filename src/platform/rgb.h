#pragma once
// A screen colour, red, green, blue 0..255: of the panes' markers and texts,
// and of the pixels a raster canvas holds.
#include <cstdint>

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const Rgb&) const = default;
};
