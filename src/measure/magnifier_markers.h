#pragma once
// The earlier measurements of the session as the magnifier draws them over
// the image: stars first, then meteor points, each in index order.
//
// An item near the reference point (within two pixels, 0.024 mm) is drawn
// as the measuring cross in an enabled control, so that the observer sees
// the earlier measurement exactly where a click would put it; every other
// item on the control is a 6 x 6 disc in its kind's colour. The first two
// meteor points are always discs. Items off the control are left out.
#include <cstdint>
#include <vector>

#include "measure/magnifier.h"

class SessionData;

// The point distances are taken from, and the item a replay measures again
// (never drawn).
struct MarkerReference {
    double x = 0.0;  // mm
    double y = 0.0;
    int skip = -1;   // star i, or nstar + j for meteor point j; -1: none
};

// A new measurement: the centre of the window, nothing skipped.
MarkerReference WindowCentreReference(WindowOrigin o);

struct MarkerFill {
    std::uint8_t red = 0, green = 0, blue = 0;
    bool operator==(const MarkerFill&) const = default;
};

inline constexpr MarkerFill kVisibleStarFill{0, 128, 0};
inline constexpr MarkerFill kHiddenStarFill{128, 64, 0};
inline constexpr MarkerFill kMaximumFill{128, 128, 255};  // the meteor point labelled "Maximum"
inline constexpr MarkerFill kMeteorFill{0, 0, 255};
inline constexpr MarkerFill kSnappedFill{255, 0, 255};  // a click snapped to the star's centroid

struct MagnifierMarker {
    enum class Shape { Disc, Cross };
    Shape shape = Shape::Disc;
    ControlPoint at;
    MarkerFill fill;  // discs only
    bool operator==(const MagnifierMarker&) const = default;
};

std::vector<MagnifierMarker> MagnifierMarkers(const SessionData& session, WindowOrigin o, bool enabled,
                                              const MarkerReference& reference);
