#include "measure/magnifier_render.h"

#include <algorithm>

#include "image/meteor_image.h"
#include "platform/canvas.h"

using namespace magnifier;

namespace {

constexpr MarkerFill kWhite{255, 255, 255};
constexpr MarkerFill kBlack{0, 0, 0};

// Fills the part of r that lies on the control.
void Fill(Canvas& canvas, CanvasRect r, MarkerFill c) {
    const int x0 = std::max(r.x, 0), x1 = std::min(r.x + r.w, kControlSize);
    const int y0 = std::max(r.y, 0), y1 = std::min(r.y + r.h, kControlSize);
    if (x0 >= x1 || y0 >= y1) return;
    canvas.FillRect({x0, y0, x1 - x0, y1 - y0}, c.red, c.green, c.blue);
}

// The window cut to the image, drawn at its own place in the control, over
// grey: beyond the image edges, and wherever the source draws nothing (a
// video frame that cannot be decoded).
void DrawWindow(Canvas& canvas, MeteorImage* image, WindowOrigin o, int frame) {
    Fill(canvas, {0, 0, kControlSize, kControlSize}, kMagnifierGrey);
    if (image == nullptr) return;
    const int sx0 = std::max(o.x, 0), sx1 = std::min(o.x + kWindowSize, image->width);
    const int sy0 = std::max(o.y, 0), sy1 = std::min(o.y + kWindowSize, image->height);
    if (sx0 >= sx1 || sy0 >= sy1) return;
    // The top control row shows the window's top image row.
    image->Display(canvas, (sx0 - o.x) * kZoom, (o.y + kWindowSize - sy1) * kZoom, (sx1 - sx0) * kZoom,
                   (sy1 - sy0) * kZoom, sx0, sy0, sx1 - sx0, sy1 - sy0, frame);
}

}  // namespace

void DrawMeasuringCross(Canvas& canvas, ControlPoint p) {
    Fill(canvas, {p.x - 1, p.y - 1, 3, 3}, kWhite);
    Fill(canvas, {p.x - 2, p.y, 5, 1}, kWhite);
    Fill(canvas, {p.x, p.y - 2, 1, 5}, kWhite);
    Fill(canvas, {p.x - 1, p.y, 3, 1}, kBlack);
    Fill(canvas, {p.x, p.y - 1, 1, 3}, kBlack);
}

void DrawMarkerDisc(Canvas& canvas, ControlPoint p, MarkerFill fill) {
    Fill(canvas, {p.x - 2, p.y - 3, 4, 1}, kWhite);
    Fill(canvas, {p.x - 2, p.y + 2, 4, 1}, kWhite);
    Fill(canvas, {p.x - 3, p.y - 2, 1, 4}, kWhite);
    Fill(canvas, {p.x + 2, p.y - 2, 1, 4}, kWhite);
    Fill(canvas, {p.x - 2, p.y - 2, 4, 4}, fill);
}

void RenderMagnifier(Canvas& canvas, MeteorImage* image, const Magnifier& control,
                     const std::vector<MagnifierMarker>& markers) {
    DrawWindow(canvas, image, control.origin(), control.frame());
    for (const MagnifierMarker& m : markers) {
        if (m.shape == MagnifierMarker::Shape::Disc) DrawMarkerDisc(canvas, m.at, m.fill);
        else DrawMeasuringCross(canvas, m.at);
    }
    if (const auto cross = control.cross()) DrawMeasuringCross(canvas, *cross);
}
