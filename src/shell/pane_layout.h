#pragma once
// Where the main window puts its three panes and the status strip's two
// buttons when its client area is w x h pixels.
//
// The image view and the analysis view share the area above the 19-pixel
// status strip. The strip's items and buttons move right by one column step
// k for every 5 pixels the window is wider than 525 (see StatusColumnStep).

#include "platform/canvas.h"

class MeteorImage;

inline constexpr int kStatusStripHeight = 19;
inline constexpr int kStatusButtonWidth = 23;
inline constexpr int kStatusButtonHeight = 16;

struct PaneLayout {
    CanvasRect analysis;  // the residual table
    CanvasRect display;   // the image view, the same rectangle
    CanvasRect status;    // the strip along the bottom edge
    CanvasRect plus;      // "+" (398), in the strip's coordinates
    CanvasRect minus;     // "-" (397), in the strip's coordinates
};

// k = (width - 525) / 5, truncating, and 0 when negative.
int StatusColumnStep(int width);

// The layout of EvSize. A client area lower than the strip leaves the panes
// 0 pixels high rather than negative.
PaneLayout LayoutPanes(int w, int h);

// Whether a resize makes the image view remember its scroll position for the
// next scroller set-up: a still image (not a video) shown at original pixels.
bool KeepsScrollOnResize(const MeteorImage* image, int dispmode);

// Whether the image view's background is erased when it repaints after a
// resize: only at original pixels, where the image may not cover the pane.
bool ErasesDisplayOnResize(int dispmode);
