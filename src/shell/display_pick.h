#pragma once
// The right button in the image view: which measurement a click picks and
// which context menu it opens.

#include "shell/display_geometry.h"

class SessionData;

// The measurement nearest to an image pixel: start from a distance of 1e10;
// every star, then every meteor point, whose distance (image pixels, single
// precision) is strictly below the best so far becomes the pick. On equal
// distances the earlier stays, and stars come before meteor points.
struct NearestMeasurement {
    int index = -1;          // star i, or nstar + j for meteor point j; -1: none
    float distance = 1e10f;  // image pixels
};
NearestMeasurement FindNearestMeasurement(const SessionData& session, const DisplayGeometry& g, ImagePixel p);
NearestMeasurement FindNearestMeasurementAt(const SessionData& session, const DisplayGeometry& g, ImagePoint p);

// The sub-menus of "POPUP_MENUS" by their position in it.
enum class PopupMenu {
    Meteor = 0,         // a meteor point of a video
    Meteormmax = 1,     // a meteor point of a still image, not marked
    Meteorumax = 2,     // a meteor point of a still image labelled "Maximum"
    Displayhstar = 3,   // a hidden star
    Displayustar = 4,   // a star used in the reduction
    Displayclient = 5,  // nothing near the click
    Analysishstar = 6,
    Analysisustar = 7,
    Analysisclient = 8,
};
const char* PopupMenuName(PopupMenu menu);

struct DisplayContext {
    bool show_menu = false;        // false: the click does nothing more
    PopupMenu menu = PopupMenu::Displayclient;
    int iselect = -1;              // the new selection
    bool star_picked = false;      // the enable state is recomputed before the menu opens
    bool remove_switch = false;    // "&Switch to analysis" (903) is taken out of the menu
};

// The outcome of a right click on pane pixel (x, y). image_is_video: the
// image type has the frames bit (8).
//
// No menu opens when nothing lies within the pick threshold and the session
// has no stars; the selection is then cleared (the nearest far-away meteor
// point is not left selected, where it would show red on the next repaint
// and be the target of Edit > Delete measurement).
DisplayContext ChooseDisplayContext(const SessionData& session, const DisplayGeometry& g, int x, int y,
                                    bool image_is_video);
