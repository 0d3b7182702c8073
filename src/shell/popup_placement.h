#pragma once
// Where a context menu opens for a right click at (x, y), pane pixels: its
// left edge at x + 10 and its top at y - 10; within 170 pixels of the right
// edge of the pane (x > width - 170) its right edge at x - 10 instead, so
// that it does not cover the click. A click within 10 pixels of (x, y)
// does not close it.
#include "shell/display_geometry.h"

struct PopupPlacement {
    ScreenPoint anchor;          // the corner given by right_aligned, pane pixels
    bool right_aligned = false;  // anchor is the top-right corner, else the top-left
    EdgeRect keep_open;          // (x - 10, y - 10) to (x + 10, y + 10)
    bool operator==(const PopupPlacement&) const = default;
};

PopupPlacement PlacePopup(int x, int y, int pane_width);
