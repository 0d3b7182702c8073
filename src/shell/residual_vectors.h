#pragma once
// The residual vectors of the image view: each star's O-C as an arrow from
// its marker towards where the plate solution of the visible stars puts its
// catalogue position, so that a misidentified or badly measured star stands
// out at a glance. The arrows are scaled so that the median residual of the
// visible stars is 30 screen pixels at every zoom; a hidden star's arrow is
// its offset from the fit it takes no part in.

#include <string>
#include <vector>

#include "platform/rgb.h"
#include "shell/display_geometry.h"

class SessionData;
struct PlateSolution;

inline constexpr Rgb kResidualColour{255, 255, 0};        // a star used in the reduction
inline constexpr Rgb kHiddenResidualColour{0, 255, 255};  // a hidden star
inline constexpr double kMedianArrowPixels = 30.0;

struct ResidualArrow {
    int star = 0;
    bool hidden = false;
    double arcsec = 0.0;     // the residual on the sky
    ScreenPoint from;        // the star's marker (MMtoDC, before the scroll offset)
    double to_x = 0.0;       // the arrow's tip, same frame, unrounded
    double to_y = 0.0;
};

struct ResidualVectors {
    std::vector<ResidualArrow> arrows;  // stars in index order
    double median_arcsec = 0.0;         // of the visible stars: kMedianArrowPixels long
    std::string scale_text;             // e.g. "O-C: 30 px = 1.2\""; empty when nothing is drawn
};

// Nothing with fewer than 4 visible stars (3 fit exactly) or when every
// residual is 0.
ResidualVectors ComputeResidualVectors(const SessionData& session, const PlateSolution& plate,
                                       const DisplayGeometry& g);

// The scale written in the corner: arcseconds with one decimal below 100",
// whole ones above.
std::string ResidualScaleText(double median_arcsec);

// The two strokes of an arrow's head, each 6 pixels long at 25 degrees to
// the shaft, from the tip back; none for an arrow shorter than 1 pixel.
struct ArrowHead {
    bool drawn = false;
    double left_x = 0, left_y = 0, right_x = 0, right_y = 0;
};
ArrowHead ArrowHeadOf(double from_x, double from_y, double to_x, double to_y);
