#pragma once
// The markers of the image view: a 6 x 6 circle with a white outline over
// every star and meteor point, filled by kind, and the plate-centre mark.

#include <vector>

#include "shell/display_geometry.h"
#include "platform/rgb.h"

class SessionData;

inline constexpr Rgb kMarkerOutline{255, 255, 255};
inline constexpr Rgb kStarColour{0, 128, 0};          // a star used in the reduction
inline constexpr Rgb kHiddenStarColour{128, 64, 0};   // a hidden star
inline constexpr Rgb kMeteorColour{0, 0, 255};        // a meteor point
inline constexpr Rgb kMaximumColour{128, 128, 255};   // a meteor point labelled "Maximum"
inline constexpr Rgb kSelectedColour{255, 0, 0};      // the selection, of any kind
inline constexpr Rgb kCentreMarkColour{0, 0, 0};      // filled black, white outline

// True for the label "Maximum", also with the blanks a session file pads it
// with ("Maximum" and eight blanks comes back from a retrieved session).
bool IsMaximumLabel(const char* label);

struct Marker {
    int index = 0;    // the selection index: star i, or nstar + j for meteor point j
    EdgeRect circle;  // the ellipse's bounding box, (x - 3, y - 3) to (x + 3, y + 3)
    Rgb fill;
    bool operator==(const Marker&) const = default;
};

// The markers to draw, stars first, then meteor points, each in index order;
// markers outside the visible area are left out (MarkerVisible). Positions
// are before the scroll offset, which the drawing applies. iselect is the
// selection (-1: none).
std::vector<Marker> DisplayMarkers(const SessionData& session, const DisplayGeometry& g, int iselect);

// The plate-centre mark at the centre of the image: two filled rectangles
// with the white outline, then a black line.
struct CentreMark {
    EdgeRect vertical;    // (x - 1, y - 3) to (x + 2, y + 4)
    EdgeRect horizontal;  // (x - 3, y - 1) to (x + 4, y + 2)
    ScreenPoint line_from;  // (x, y - 2)
    ScreenPoint line_to;    // (x, y + 3)
    bool operator==(const CentreMark&) const = default;
};
CentreMark PlateCentreMark(const DisplayGeometry& g);
