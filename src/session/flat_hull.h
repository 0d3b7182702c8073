#pragma once
// A convex hull without area: every visible star on one straight line (or
// all on one point). Its centroid lies on every edge, so the side test of
// the surround would count every point as inside; such a hull surrounds only
// the points on its segment.

#include <optional>
#include <vector>

// The segment from one end of the stars' line to the other, in mm, with the
// distance within which a point counts as lying on it (the rounding of
// single-precision positions).
struct HullSegment {
    double ax = 0, ay = 0;
    double bx = 0, by = 0;
    double tolerance = 0;

    bool Contains(float px, float py) const;
};

// The segment of the hull vertices hull[0..m-1] (indices into xs, ys) when
// they span no area; nothing for a hull with area.
std::optional<HullSegment> FlatHull(const std::vector<float>& xs, const std::vector<float>& ys,
                                    const std::vector<unsigned int>& hull, unsigned int m);
