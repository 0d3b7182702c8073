#pragma once
// The 4x magnifier of the measuring dialogs: a 320 x 320 control showing an
// 80 x 80 pixel window of the current image or frame, each image pixel as a
// 4 x 4 block of control pixels.
//
// The window is given by its origin: the column and the row (counted from
// the bottom row, like DIB rows and plate y) of its bottom-left pixel. It
// may reach beyond the image edges. Control pixels (x, y) count from the
// control's top-left corner; control pixel (x, y) shows image column
// origin.x + x / 4 and image row (from the bottom) origin.y + (319 - y) / 4.
//
// Positions are plate millimetres, 0.012 mm per pixel, in quarter-pixel
// steps counted from a pixel's lower-left corner.
#include <optional>

#include "measure/replay_random.h"

namespace magnifier {
constexpr int kControlSize = 320;  // control pixels per side
constexpr int kWindowSize = 80;    // image pixels per side
constexpr int kZoom = 4;           // control pixels per image pixel
constexpr int kCentre = 40;        // the window's centre pixel, from its origin
}  // namespace magnifier

struct ControlPoint {
    int x = 0;
    int y = 0;  // from the top of the control
    bool operator==(const ControlPoint&) const = default;
};

struct WindowOrigin {
    int x = 0;
    int y = 0;  // from the bottom row
    bool operator==(const WindowOrigin&) const = default;
};

struct PlatePosition {
    float x = 0.0f;  // mm
    float y = 0.0f;
    bool operator==(const PlatePosition&) const = default;
};

// The window of a dialog opened for display pixel (column, row), row
// counted from the top: the clicked pixel is the window's centre pixel
// (40, 40), displaced by the replay offsets.
WindowOrigin MagnifierOrigin(int column, int row, int image_height, ReplayOffsets offsets = {});

// Keeps at least the window's centre on the image: x in -40 .. width - 40,
// y in -40 .. height - 40.
WindowOrigin ClampOrigin(WindowOrigin o, int width, int height);

// True when control pixel p lies inside the control and shows a pixel of
// a width x height image; clicks anywhere else are ignored.
bool ClickOnImage(WindowOrigin o, ControlPoint p, int width, int height);

// The plate position a click at control pixel p measures.
PlatePosition MeasuredPosition(WindowOrigin o, ControlPoint p);

// The control pixel where a marker at plate position (x, y) is drawn; it
// may lie outside the control.
ControlPoint MarkerPixel(WindowOrigin o, float x, float y);

// The keys that refine a measurement: an arrow moves the measuring cross by
// a quarter pixel (one control pixel), with Shift by a whole pixel; Space
// takes the cross's position as a click there would.
enum class MagnifierKey { Left, Right, Up, Down, Space };

// What the control itself keeps: the window, the frame, whether it takes
// measurements, and the measuring cross of the last click.
class Magnifier {
public:
    explicit Magnifier(WindowOrigin origin, int frame = -1) : origin_(origin), frame_(frame) {}

    // Shows another window or frame. The cross of the last click goes with
    // the old picture; marked stays.
    void Move(WindowOrigin origin, int frame);

    // A disabled control shows earlier points as circles and measures
    // nothing.
    void SetEnabled(bool enabled) { enabled_ = enabled; }

    // A left click: the control pixel measured, or nothing when the click
    // misses the image or the control is disabled. A measured click shows
    // the cross there and sets marked.
    std::optional<ControlPoint> Click(ControlPoint p, int width, int height);

    // A refining key. Arrows move the cross (from the last click, or from
    // the window centre when no cross is shown) within the control; Space
    // takes it as Click would. Returns the control pixel measured by Space.
    std::optional<ControlPoint> Key(MagnifierKey key, bool shift, int width, int height);

    WindowOrigin origin() const { return origin_; }
    int frame() const { return frame_; }
    bool enabled() const { return enabled_; }
    bool marked() const { return marked_; }
    // Where the measuring cross is drawn, if anywhere.
    std::optional<ControlPoint> cross() const { return cross_; }

private:
    WindowOrigin origin_;
    int frame_ = -1;  // -1: the still picture or the averaged video picture
    bool enabled_ = true;
    bool marked_ = false;
    std::optional<ControlPoint> cross_;
};
