#pragma once
#include <cstddef>
#include <cstdint>

struct CanvasRect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    bool operator==(const CanvasRect&) const = default;
};

// A drawing surface with y growing downward from the top edge.
class Canvas {
public:
    virtual ~Canvas() = default;
    // Draws the source rectangle of a packed 8-bit DIB (src.y counted from the
    // DIB's bottom row, as DIB coordinates are) stretched onto dst, through
    // the DIB's colour table. Shrinking drops pixels, never blends them.
    virtual void DrawDib(const std::uint8_t* dib, std::size_t size, CanvasRect dst, CanvasRect src) = 0;
    // Fills a rectangle with one colour.
    virtual void FillRect(CanvasRect r, std::uint8_t red, std::uint8_t green, std::uint8_t blue) = 0;
};
