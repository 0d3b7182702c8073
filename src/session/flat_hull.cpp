#include "session/flat_hull.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace {

// A few units of the last place of the largest coordinate.
constexpr double kRoundingUnits = 8 * FLT_EPSILON;

double Distance(double ax, double ay, double bx, double by) { return std::hypot(bx - ax, by - ay); }

}  // namespace

bool HullSegment::Contains(float px, float py) const {
    const double dx = bx - ax;
    const double dy = by - ay;
    const double length = std::hypot(dx, dy);
    if (length <= tolerance) return Distance(ax, ay, px, py) <= tolerance;
    const double across = std::fabs(dx * (py - ay) - dy * (px - ax)) / length;
    const double along = (dx * (px - ax) + dy * (py - ay)) / length;
    return across <= tolerance && along >= -tolerance && along <= length + tolerance;
}

std::optional<HullSegment> FlatHull(const std::vector<float>& xs, const std::vector<float>& ys,
                                    const std::vector<unsigned int>& hull, unsigned int m) {
    if (m == 0) return std::nullopt;
    double scale = 1.0;
    for (unsigned int b = 0; b < m; ++b) scale = std::max({scale, std::fabs(double{xs[hull[b]]}), std::fabs(double{ys[hull[b]]})});
    // The two ends: the vertex farthest from the first, and the one
    // farthest from that.
    auto farthest = [&](unsigned int from) {
        unsigned int best = from;
        double d = -1;
        for (unsigned int b = 0; b < m; ++b) {
            const double e = Distance(xs[hull[from]], ys[hull[from]], xs[hull[b]], ys[hull[b]]);
            if (e > d) {
                d = e;
                best = b;
            }
        }
        return best;
    };
    const unsigned int a = farthest(0);
    const unsigned int b = farthest(a);
    HullSegment s{xs[hull[a]], ys[hull[a]], xs[hull[b]], ys[hull[b]], kRoundingUnits * scale};
    for (unsigned int v = 0; v < m; ++v) {
        if (!s.Contains(xs[hull[v]], ys[hull[v]])) return std::nullopt;
    }
    return s;
}
