#include "shell/pane_layout.h"

#include <algorithm>

#include "image/meteor_image.h"
#include "shell/state_flags.h"

int StatusColumnStep(int width) {
    const int k = (width - 525) / 5;
    return k < 0 ? 0 : k;
}

PaneLayout LayoutPanes(int w, int h) {
    const int width = std::max(w, 0);
    const int pane_height = std::max(h - kStatusStripHeight, 0);
    const int k = StatusColumnStep(width);
    PaneLayout layout;
    layout.analysis = {0, 0, width, pane_height};
    layout.display = layout.analysis;
    // The strip reaches below the client area, where it is clipped; only its
    // top 19 pixels show.
    layout.status = {0, h - kStatusStripHeight, width, kStatusStripHeight};
    layout.plus = {3 * k + 313, 2, kStatusButtonWidth, kStatusButtonHeight};
    layout.minus = {3 * k + 290, 2, kStatusButtonWidth, kStatusButtonHeight};
    return layout;
}

bool KeepsScrollOnResize(const MeteorImage* image, int dispmode) {
    return image != nullptr && !image->IsVideo() && dispmode == kPixelMode;
}

bool ErasesDisplayOnResize(int dispmode) { return dispmode == kPixelMode; }
