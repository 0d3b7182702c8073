// The surround's pre-selection of hull candidates never changes the result:
// the full gift-wrapping walk over every visible star, written out here,
// gives the same percentage on random and gridded star sets. Stars on one
// line surround only the points on their segment.

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "session/fixed_text.h"
#include "session/session_data.h"

namespace {
// The walk over all visible stars, without any pre-selection.
float ReferenceSurround(const SessionData& s) {
    const unsigned ns = s.nstar;
    std::vector<float> xs(ns), ys(ns);
    std::vector<unsigned> vis;
    for (unsigned i = 0; i < ns; ++i) {
        xs[i] = s.fxstr(i);
        ys[i] = s.fystr(i);
        if (!s.stars[i].hidden) vis.push_back(i);
    }
    if (s.nmet == 0 || vis.size() < 3) return 0;
    auto angle = [&](unsigned f, unsigned t) { return static_cast<float>(std::atan2(ys[t] - ys[f], xs[t] - xs[f])); };
    std::vector<unsigned> hull(ns + 1);
    hull[0] = vis[0];
    for (unsigned i : vis)
        if (ys[i] > ys[hull[0]]) hull[0] = i;
    unsigned m = 1;
    for (;; ++m) {
        const unsigned cur = hull[m - 1];
        const float prev = m == 1 ? -3.14159274f : angle(hull[m - 2], cur);
        float best = 3.14159274f;
        bool found = false;
        for (unsigned i : vis) {
            if (i == cur) continue;
            const float a = angle(cur, i);
            if (prev <= a && a < best) best = a, hull[m] = i, found = true;
        }
        if (!found) hull[m] = hull[0];
        if (hull[m] == hull[0] || m == ns) break;
    }
    float cx = 0, cy = 0;
    for (unsigned b = 0; b < m; ++b) cx += xs[hull[b]], cy += ys[hull[b]];
    cx /= m;
    cy /= m;
    unsigned inside = 0;
    for (unsigned j = 0; j < s.nmet; ++j) {
        const float px = s.fxmet(j), py = s.fymet(j);
        bool in = true;
        for (unsigned b = 0; b < m && in; ++b) {
            const unsigned V = hull[b], W = hull[b + 1];
            const float nx = ys[W] - ys[V], ny = -(xs[W] - xs[V]);
            in = ((px - xs[V]) * nx + (py - ys[V]) * ny) * ((cx - xs[V]) * nx + (cy - ys[V]) * ny) >= 0.0f;
        }
        inside += in;
    }
    return inside * 100.0f / s.nmet;
}

void AddStarAt(SessionData& s, float x, float y) {
    CatStar c;
    copy_text(c.name, "W" + std::to_string(s.nstar));
    s.AddStar(Star(c, x, y), 0);
}
}  // namespace

TEST(SurroundWalk, SameResultAsTheFullWalkOnRandomFieldsAndOnGrids) {
    std::mt19937 rng(21);
    std::uniform_real_distribution<float> ux(0, 12), uy(0, 8.4f), around_x(-1, 13), around_y(-1, 9.4f);
    for (int trial = 0; trial < 260; ++trial) {
        SessionData s;
        if (trial < 200) {
            for (int i = 0; i < 3 + trial % 60; ++i) AddStarAt(s, ux(rng), uy(rng));
        } else {
            // Grids: collinear hull edges, a repeated star, and a point
            // exactly on an outer edge, which counts as inside.
            for (int r = 0; r < 2 + trial % 4; ++r)
                for (int c = 0; c < 2 + trial % 6; ++c) AddStarAt(s, 1.0f + c * 1.5f, 1.0f + r * 1.2f);
            AddStarAt(s, 1.0f, 1.0f);
            s.AddMetPnt(Meteor(1.0f + 0.75f, 1.0f, 99));
        }
        for (int j = 0; j < 50; ++j) s.AddMetPnt(Meteor(around_x(rng), around_y(rng), j));
        for (unsigned i = 0; i < s.nstar; i += 7) s.fhide(static_cast<int>(i));
        ASSERT_EQ(s.Getsurround(-1), ReferenceSurround(s)) << "trial " << trial;
    }
}

TEST(SurroundWalk, StarsOnOneLineSurroundOnlyThePointsOnTheirSegment) {
    SessionData s;
    for (int i = 0; i < 5; ++i) AddStarAt(s, 1.0f + i, 2.0f + 0.5f * i);
    s.AddMetPnt(Meteor(2.0f, 2.5f, 0));    // on a star
    s.AddMetPnt(Meteor(1.5f, 2.25f, 1));   // between two stars
    s.AddMetPnt(Meteor(5.0f, 5.0f, 2));    // beside the line
    s.AddMetPnt(Meteor(7.0f, 5.0f, 3));    // on the line, beyond its end
    // A point added sets the surround for the views.
    EXPECT_EQ(std::pair(s.Getsurround(-1), s.surround), std::pair(50.0f, 50.0f));
    // A star off the line gives the hull an area; hiding it again for the
    // analysis view's column leaves the line.
    AddStarAt(s, 5.0f, 6.0f);
    EXPECT_EQ(std::tuple(s.Getsurround(-1), s.Getsurround(5), s.stars[5].hidden), std::tuple(75.0f, 50.0f, 0));
    // Hidden, as if visible: the hull takes it in again.
    s.fhide(5);
    EXPECT_EQ(std::tuple(s.Getsurround(-1), s.Getsurround(5), s.stars[5].hidden), std::tuple(50.0f, 75.0f, 1));

    SessionData t;  // every star on one point
    for (int i = 0; i < 4; ++i) AddStarAt(t, 3.0f, 3.0f);
    t.AddMetPnt(Meteor(3.0f, 3.0f, 0));
    t.AddMetPnt(Meteor(4.0f, 3.0f, 1));
    EXPECT_EQ(t.Getsurround(-1), 50.0f);

    // A horizontal line, the case the centroid lies on exactly.
    SessionData h;
    for (int i = 0; i < 3; ++i) AddStarAt(h, 2.0f * i, 4.0f);
    h.AddMetPnt(Meteor(3.0f, 4.0f, 0));
    h.AddMetPnt(Meteor(3.0f, 9.0f, 1));
    h.AddMetPnt(Meteor(3.0f, -9.0f, 2));
    EXPECT_NEAR(h.Getsurround(-1), 100.0f / 3, 1e-4);
}
