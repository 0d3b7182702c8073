// The aids of the image view that rest on the plate solution: the reverse
// projection from the sky to the plate, and the residual arrows. How close
// the reverse projection lands on a distorted plate is checked on the
// catalogue overlay of a rendered field.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "../session/sky_field.h"
#include "session/plate_solution.h"
#include "session/session_data.h"
#include "shell/residual_vectors.h"

namespace {

void AddStar(SessionData& s, double ra, double de, double dx = 0, double dy = 0, bool hidden = false) {
    Star st = sky::MakeStar("S", ra, de, sky::Field(), dx, dy);
    st.raobs = st.ra;
    st.deobs = st.de;
    st.hidden = hidden ? 1 : 0;
    s.stars.push_back(st);
    ++s.nstar;
    if (hidden) ++s.nhide;
}

// Sky positions spread over the field, a grid of 3 x 3 round the centre.
std::vector<std::pair<double, double>> Grid() {
    std::vector<std::pair<double, double>> out;
    for (int i = -1; i <= 1; ++i)
        for (int j = -1; j <= 1; ++j) {
            const double de = 45.0 + j * 2.0;
            out.push_back({3.0 + i * 2.0 / 15.0 / std::cos(de * sky::kPi / 180), de});
        }
    return out;
}

DisplayGeometry PixelView(int w, int h) {
    DisplayGeometry g;
    g.SetImageSize(w, h);
    g.SetClientArea(w, h);
    g.SetMode(kPixelMode);
    return g;
}

TEST(ResidualVectors, PointFromEachStarToItsCataloguePositionWithTheMedianThirtyPixelsLong) {
    SessionData s;
    const auto grid = Grid();
    for (std::size_t i = 0; i < grid.size(); ++i) {
        const double dx = i == 2 ? 0.036 : 0.0;  // measured 3 pixels right of the truth
        const double dy = i == 5 ? 0.024 : 0.0;  // a hidden star 2 pixels high
        AddStar(s, grid[i].first, grid[i].second, dx, dy, i == 5);
    }
    const ResidualVectors r = ComputeResidualVectors(s, SolvePlate(s), PixelView(1000, 700));
    ASSERT_EQ(r.arrows.size(), 9u);
    std::vector<double> lengths;
    for (const ResidualArrow& a : r.arrows)
        if (!a.hidden) lengths.push_back(std::hypot(a.to_x - a.from.x, a.to_y - a.from.y));
    std::sort(lengths.begin(), lengths.end());
    EXPECT_NEAR(0.5 * (lengths[3] + lengths[4]), 30.0, 1e-9);
    // The misplaced star has the longest arrow, pointing left to the truth.
    const ResidualArrow& off = r.arrows[2];
    EXPECT_NEAR(std::hypot(off.to_x - off.from.x, off.to_y - off.from.y), lengths.back(), 1e-9);
    EXPECT_LT(off.to_x - off.from.x, -std::fabs(off.to_y - off.from.y));
    // The hidden star's truth is below it; its residual is about 2 pixels.
    const ResidualArrow& hidden = r.arrows[5];
    EXPECT_GT(hidden.to_y - hidden.from.y, std::fabs(hidden.to_x - hidden.from.x));
    EXPECT_EQ(ResidualScaleText(1.234), "O-C: 30 px = 1.2\"");
    // Three visible stars fit exactly: nothing to show.
    SessionData three;
    for (int i : {0, 2, 4}) AddStar(three, grid[i].first, grid[i].second);
    EXPECT_TRUE(ComputeResidualVectors(three, SolvePlate(three), PixelView(1000, 700)).arrows.empty());
}

}  // namespace
