#pragma once
// The program-wide state flags of the main window. Every field is a 32-bit
// integer, as the commands and panes read and write them directly.

constexpr int kFitMode = 4;      // dispmode: the image is scaled to fit the pane
constexpr int kPixelMode = 5;    // dispmode: original pixels with scroll bars
constexpr int kStarMode = 6;     // measmode: a left click measures a star
constexpr int kMeteorMode = 7;   // measmode: a left click measures a meteor point
constexpr int kReplayMode = 8;   // measmode: a replay runs

struct StateFlags {
    int imgloaded = 0;  // an image source (real or blank) is loaded
    int dispmode = kFitMode;
    int measmode = kStarMode;
    int changed = 0;    // the session has unsaved changes
    int recalc = 1;     // the analysis view must recompute before it draws
    int inchain = 0;    // the main window watches the clipboard
    int analysis = 0;   // 1: the analysis view is shown instead of the image view
    unsigned int menumask = 0xFFFFFFFEu;  // bit n enables command n (1..31)
};

extern StateFlags sf;
