#pragma once
// The drawing surface over a QPainter. A DIB is drawn by nearest-neighbour
// sampling (shrinking drops pixels, nothing is ever blended) into an image
// of the visible part of the destination only, so the cost of a repaint
// follows the pane, never the picture.
//
// A window that repaints the same picture keeps a DibViewCache: while the
// picture's block, the rectangles and the visible part stay the same, the
// sampled pixels are reused and only a changed colour table is applied
// (a brightness, contrast or inversion step re-samples nothing). A sparse
// fingerprint of the pixels (a 64 x 64 grid) tells a new picture that landed
// in the same memory; a window whose picture changes in place (a new video
// frame in the same block, a new average) calls Invalidate() to be sure.
#include <QImage>
#include <QPainter>
#include <QRect>
#include <array>
#include <cstdint>

#include "platform/canvas.h"

class DibViewCache {
public:
    void Invalidate() { valid_ = false; }
    // How often the pixels were sampled anew (for tests and benchmarks).
    int samplings() const { return samplings_; }

private:
    friend class QtCanvas;
    struct Key {
        const std::uint8_t* dib = nullptr;
        std::size_t size = 0;
        CanvasRect dst, src;
        QRect visible;
        std::uint64_t fingerprint = 0;
        bool operator==(const Key&) const = default;
    };
    bool valid_ = false;
    Key key_;
    QImage indices_;  // Indexed8, the visible part of the destination
    std::array<std::uint8_t, 1024> table_{};  // the colour table last applied
    QImage shown_;    // indices_ through table_, ready to draw
    int samplings_ = 0;
};

class QtCanvas : public Canvas {
public:
    // cache may be nullptr: every DrawDib then samples afresh.
    explicit QtCanvas(QPainter& painter, DibViewCache* cache = nullptr) : painter_(painter), cache_(cache) {}

    void DrawDib(const std::uint8_t* dib, std::size_t size, CanvasRect dst, CanvasRect src) override;
    void FillRect(CanvasRect r, std::uint8_t red, std::uint8_t green, std::uint8_t blue) override;

    QPainter& painter() { return painter_; }

private:
    QPainter& painter_;
    DibViewCache* cache_;
};

// The destination pixels of `visible` (inside dst) sampled from the DIB as an
// Indexed8 image with the DIB's colour table; a null image when the DIB is
// malformed or nothing is visible. The same sampling as RasterCanvas.
// A hash of the header and of the pixels on a 64 x 64 grid over the picture;
// 0 for a block too short to hold its pixels.
std::uint64_t DibFingerprint(const std::uint8_t* dib, std::size_t size);

QImage SampleDib(const std::uint8_t* dib, std::size_t size, CanvasRect dst, CanvasRect src, QRect visible);
