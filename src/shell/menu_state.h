#pragma once
// The enable rule of the main window's commands: which of the commands 1..31
// can be chosen in a given state. A pure function, so that the whole table
// can be checked without a window.

// The state the rule reads.
struct MenuInputs {
    bool imgloaded = false;     // sf.imgloaded
    int image_type = 0;         // ImageType bits of the current image
    int iselect = -1;           // SelectedStar::iselect
    bool selected_hidden = false;  // the selection is a hidden star
    unsigned int nstar = 0;
    unsigned int nmet = 0;
    bool changed = false;       // sf.changed
    bool analysis = false;      // sf.analysis: the analysis view is shown
    bool clip_avail = false;    // the clipboard holds a bitmap
    bool has_picture = false;   // the image source holds a picture to measure on
};

// Bit n (value 1 << n) set: command n is enabled.
unsigned int ComputeMenuMask(const MenuInputs& in);

// Whether command id is enabled under mask; ids without an enable rule
// (outside 1..31) always are.
bool MaskEnables(unsigned int mask, int id);

// The state the rules of the commands beyond the original's mask read.
struct ExtraMenuInputs {
    bool imgloaded = false;    // sf.imgloaded
    bool can_undo = false;     // the history has a step to undo
    bool can_redo = false;     // and one to redo
    unsigned int visible = 0;  // stars that take part in the reduction
};

// Undo and Redo: an image is loaded and the history has the step. Export
// report: an image is loaded and at least 3 visible stars give a reduction
// to report. Other ids: false.
bool ExtraCommandEnabled(const ExtraMenuInputs& in, int id);
// Whether id is one of the commands ExtraCommandEnabled rules.
bool IsExtraCommand(int id);
