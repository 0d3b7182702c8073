// The surround's pre-selection of hull candidates keeps every star on the
// boundary of the convex hull, the only stars the gift-wrapping walk can
// choose, on random and gridded star sets. Stars on one line surround only
// the points on their segment.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "session/fixed_text.h"
#include "session/hull_candidates.h"
#include "session/session_data.h"

namespace {
void AddStarAt(SessionData& s, float x, float y) {
    CatStar c;
    copy_text(c.name, "W" + std::to_string(s.nstar));
    s.AddStar(Star(c, x, y), 0);
}
}  // namespace

TEST(SurroundWalk, EveryStarOnTheHullIsACandidateOnRandomFieldsAndOnGrids) {
    std::mt19937 rng(21);
    std::uniform_real_distribution<float> ux(0, 12), uy(0, 8.4f);
    for (int trial = 0; trial < 260; ++trial) {
        std::vector<float> xs, ys;
        auto add = [&](float x, float y) {
            xs.push_back(x);
            ys.push_back(y);
        };
        if (trial < 200) {
            for (int i = 0; i < 3 + trial % 60; ++i) add(ux(rng), uy(rng));
        } else {  // collinear hull edges and a repeated star
            for (int r = 0; r < 2 + trial % 4; ++r)
                for (int c = 0; c < 2 + trial % 6; ++c) add(1.0f + c * 1.5f, 1.0f + r * 1.2f);
            add(1.0f, 1.0f);
        }
        std::vector<unsigned> visible;
        for (unsigned i = 0; i < xs.size(); ++i)
            if (i % 7 != 3) visible.push_back(i);  // some stars hidden
        const std::vector<unsigned> candidates = HullCandidates(xs, ys, visible);
        // A star is on the hull when the others leave a gap of at least half
        // a turn around it.
        for (unsigned e : visible) {
            std::vector<double> a;
            for (unsigned o : visible)
                if (o != e && (xs[o] != xs[e] || ys[o] != ys[e])) a.push_back(std::atan2(ys[o] - ys[e], xs[o] - xs[e]));
            std::sort(a.begin(), a.end());
            double gap = a.front() + 2 * M_PI - a.back();
            for (std::size_t i = 1; i < a.size(); ++i) gap = std::max(gap, a[i] - a[i - 1]);
            ASSERT_TRUE(gap < M_PI - 1e-6 || std::binary_search(candidates.begin(), candidates.end(), e))
                << "trial " << trial << ", star " << e;
        }
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
