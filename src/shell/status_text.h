#pragma once
// What the status strip shows: the counts of the session, the order with its
// "+"/"-" buttons, the standard deviation and the surround percentage, and,
// during a long load, a progress bar with "ESC to abort". The strip window
// fills its background, draws the top line and then draws the items it gets
// here; nothing decides anything in the window itself.

#include <string>
#include <vector>

#include "platform/rgb.h"

class SessionData;

inline constexpr Rgb kStatusBackground{192, 192, 192};  // light grey, also behind the texts
inline constexpr Rgb kStatusText{0, 0, 0};
inline constexpr Rgb kStatusHighlight{0, 0, 255};  // the count of the current measuring mode

// One text of the strip, drawn with its top-left corner at (x, y) in the
// default font on the light-grey background.
struct StatusItem {
    int x = 0;
    int y = 0;
    std::string text;
    bool highlighted = false;  // blue instead of black
    bool operator==(const StatusItem&) const = default;
};

// The items for a strip `width` pixels wide, in drawing order: stars,
// breaks, replays, order, st.dev and, once the session has meteor points,
// the surround percentage. Nothing while no image is loaded (the strip then
// shows only its background). measmode highlights the stars (6), the breaks
// (7) or the replays (8).
std::vector<StatusItem> StatusItems(const SessionData& session, bool imgloaded, int measmode, int width);

// The standard deviation (degrees) as minutes and seconds of arc,
// "st.dev %2.0f'%02.0f\"", rounded to whole seconds and capped at 99'98".
std::string StDevText(float sd);

// The progress bar: a light-grey rectangle with a black outline from (0, 0)
// to (bar_right, height), then "ESC to abort" with a transparent background,
// its right end at text_right, its top at text_y.
struct ProgressPaint {
    int bar_right = 0;
    int text_right = 0;
    int text_y = 2;
    std::string text = "ESC to abort";
    bool operator==(const ProgressPaint&) const = default;
};
// percent is held to 0..100, so a bad count never draws outside the strip.
ProgressPaint ProgressLayout(int width, int percent);
