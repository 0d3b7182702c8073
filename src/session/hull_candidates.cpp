#include "session/hull_candidates.h"

#include <algorithm>
#include <cmath>

namespace {
double Cross(double ox, double oy, double ax, double ay, double bx, double by) {
    return (ax - ox) * (by - oy) - (ay - oy) * (bx - ox);
}

// The edges of a counter-clockwise polygon as lines nx x + ny y + c, which is
// the cross product (b - a) x (p - a): positive inside. reach is the margin
// in the same units.
struct EdgeLines {
    std::vector<double> nx, ny, c, reach;
    EdgeLines(const std::vector<float>& xs, const std::vector<float>& ys, const std::vector<unsigned int>& poly,
              double margin) {
        for (size_t e = 0; e < poly.size(); ++e) {
            const unsigned int a = poly[e], b = poly[e + 1 < poly.size() ? e + 1 : 0];
            const double dx = static_cast<double>(xs[b]) - xs[a], dy = static_cast<double>(ys[b]) - ys[a];
            nx.push_back(-dy);
            ny.push_back(dx);
            c.push_back(dy * xs[a] - dx * ys[a]);
            reach.push_back(margin * std::hypot(dx, dy));
        }
    }
    // True when p lies within the margin of some edge, or outside.
    bool NearBoundary(double px, double py) const {
        for (size_t e = 0; e < nx.size(); ++e)
            if (nx[e] * px + ny[e] * py + c[e] <= reach[e]) return true;
        return false;
    }
};

// The stars that are not deep inside the polygon of the eight extreme stars
// in the directions 0, 45, ..., 315 degrees (the polygon lies inside the
// hull, so a star deep inside it is deep inside the hull).
std::vector<unsigned int> OutsideOctagon(const std::vector<float>& xs, const std::vector<float>& ys,
                                         const std::vector<unsigned int>& visible, double margin) {
    static const double dirs[8][2] = {{1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}, {0, -1}, {1, -1}};
    unsigned int extreme[8];
    for (int d = 0; d < 8; ++d) {
        extreme[d] = visible[0];
        for (unsigned int i : visible)
            if (dirs[d][0] * xs[i] + dirs[d][1] * ys[i] > dirs[d][0] * xs[extreme[d]] + dirs[d][1] * ys[extreme[d]])
                extreme[d] = i;
    }
    std::vector<unsigned int> poly;
    for (unsigned int e : extreme)
        if (poly.empty() || (e != poly.back() && e != poly.front())) poly.push_back(e);
    if (poly.size() < 3) return visible;
    const EdgeLines edges(xs, ys, poly, margin);
    std::vector<unsigned int> out;
    for (unsigned int i : visible)
        if (edges.NearBoundary(xs[i], ys[i])) out.push_back(i);
    return out;
}
}  // namespace

std::vector<unsigned int> HullCandidates(const std::vector<float>& xs, const std::vector<float>& ys,
                                         const std::vector<unsigned int>& all_visible) {
    if (all_visible.size() <= 3) return all_visible;
    float minx = xs[all_visible[0]], maxx = minx, miny = ys[all_visible[0]], maxy = miny;
    for (unsigned int i : all_visible) {
        minx = std::min(minx, xs[i]);
        maxx = std::max(maxx, xs[i]);
        miny = std::min(miny, ys[i]);
        maxy = std::max(maxy, ys[i]);
    }
    const double extent = std::max<double>(maxx - minx, maxy - miny);
    if (extent == 0.0) return all_visible;
    // A star deeper inside than this never wins the walk: its angle from a
    // hull vertex differs from the edge's by at least 1e-4 radians.
    const double margin = 1e-4 * extent;
    const std::vector<unsigned int> visible = OutsideOctagon(xs, ys, all_visible, margin);

    // Strict convex hull by the monotone chain, counter-clockwise.
    std::vector<unsigned int> order = visible;
    std::sort(order.begin(), order.end(), [&](unsigned int a, unsigned int b) {
        return xs[a] < xs[b] || (xs[a] == xs[b] && ys[a] < ys[b]);
    });
    std::vector<unsigned int> hull(2 * order.size());
    size_t k = 0;
    auto push = [&](unsigned int p, size_t floor) {
        while (k >= floor &&
               Cross(xs[hull[k - 2]], ys[hull[k - 2]], xs[hull[k - 1]], ys[hull[k - 1]], xs[p], ys[p]) <= 0)
            --k;
        hull[k++] = p;
    };
    for (unsigned int p : order) push(p, 2);
    const size_t lower = k + 1;
    for (size_t i = order.size() - 1; i-- > 0;) push(order[i], lower);
    hull.resize(k > 1 ? k - 1 : k);
    if (hull.size() < 3) return all_visible;  // all on one line

    const EdgeLines edges(xs, ys, hull, margin);
    std::vector<unsigned int> candidates;
    for (unsigned int i : visible)
        if (edges.NearBoundary(xs[i], ys[i])) candidates.push_back(i);
    return candidates;
}
