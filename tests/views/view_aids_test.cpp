// The aids of the image view that rest on the plate solution: the reverse
// projection from the sky to the plate, and the residual arrows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "../session/sky_field.h"
#include "session/plate_solution.h"
#include "session/session_data.h"
#include "shell/residual_vectors.h"

namespace {

constexpr double kHalfPixelMm = 0.006;

// A field of w x h pixels about (3 h, +45) with a quadratic distortion of
// up to `bend` mm at the edges (0: a pure gnomonic plate).
struct BentField {
    sky::Field field;
    double bend = 0.0;
    void ToPlate(double ra, double de, double& x, double& y) const {
        float fx, fy;
        field.ToPlate(ra, de, fx, fy);
        const double u = (fx - field.xc_mm) / 6.0;
        x = fx + bend * u * u;
        y = fy + bend * 0.5 * u * u;
    }
};

void AddStar(SessionData& s, const BentField& f, double ra, double de, double dx = 0, double dy = 0,
             bool hidden = false) {
    Star st = sky::MakeStar("S", ra, de, f.field);
    double x, y;
    f.ToPlate(ra, de, x, y);
    st.x[0] = static_cast<float>(x + dx);
    st.y[0] = static_cast<float>(y + dy);
    st.raobs = st.ra;
    st.deobs = st.de;
    st.hidden = hidden ? 1 : 0;
    s.stars.push_back(st);
    ++s.nstar;
    if (hidden) ++s.nhide;
}

// Sky positions spread over the field, a grid of n x n round the centre.
std::vector<std::pair<double, double>> Grid(int n, double step_deg) {
    std::vector<std::pair<double, double>> out;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            const double de = 45.0 + (j - (n - 1) / 2.0) * step_deg;
            const double ra = 3.0 + (i - (n - 1) / 2.0) * step_deg / 15.0 / std::cos(de * sky::kPi / 180);
            out.push_back({ra, de});
        }
    return out;
}

double WorstMiss(const SessionData& s, const BentField& f) {
    const PlateSolution plate = SolvePlate(s);
    EXPECT_TRUE(plate.valid);
    double worst = 0.0;
    for (const auto& [ra, de] : Grid(7, 1.1)) {  // between and beyond the reference stars
        double x = 0, y = 0, tx = 0, ty = 0;
        EXPECT_TRUE(SkyToPlate(plate, ra, de, &x, &y));
        f.ToPlate(ra, de, tx, ty);
        worst = std::max(worst, std::hypot(x - tx, y - ty));
    }
    return worst;
}

TEST(PlateSolution, CatalogueStarsLandWithinHalfAPixelOnceTheOrderMatchesTheDistortion) {
    BentField flat;
    SessionData s;
    for (const auto& [ra, de] : Grid(4, 2.0)) AddStar(s, flat, ra, de);
    EXPECT_LT(WorstMiss(s, flat), kHalfPixelMm * 0.1);

    BentField bent;
    bent.bend = 0.2;  // 5 pixels at the edge of the reference stars
    SessionData b;
    for (const auto& [ra, de] : Grid(4, 2.0)) AddStar(b, bent, ra, de);
    b.order = 1;
    EXPECT_GT(WorstMiss(b, bent), kHalfPixelMm);
    b.order = 2;
    EXPECT_LT(WorstMiss(b, bent), kHalfPixelMm);

    // Plate to sky and back.
    const PlateSolution plate = SolvePlate(b);
    double ra = 0, de = 0, x = 0, y = 0;
    PlateToSky(plate, 5.0, 3.0, &ra, &de);
    ASSERT_TRUE(SkyToPlate(plate, ra, de, &x, &y));
    EXPECT_NEAR(x, 5.0, 1e-5);
    EXPECT_NEAR(y, 3.0, 1e-5);
    // Behind the plate there is no position; too few stars give no solution.
    EXPECT_FALSE(SkyToPlate(plate, 15.0, -45.0, &x, &y));
    SessionData two;
    AddStar(two, flat, 3.0, 45.0);
    AddStar(two, flat, 3.1, 46.0);
    EXPECT_FALSE(SolvePlate(two).valid);
}

DisplayGeometry PixelView(int w, int h) {
    DisplayGeometry g;
    g.SetImageSize(w, h);
    g.SetClientArea(w, h);
    g.SetMode(kPixelMode);
    return g;
}

TEST(ResidualVectors, PointFromEachStarToItsCataloguePositionWithTheMedianThirtyPixelsLong) {
    BentField f;
    SessionData s;
    const auto grid = Grid(3, 2.0);
    for (std::size_t i = 0; i < grid.size(); ++i) {
        const double dx = i == 2 ? 0.036 : 0.0;  // measured 3 pixels right of the truth
        const double dy = i == 5 ? 0.024 : 0.0;  // a hidden star 2 pixels high
        AddStar(s, f, grid[i].first, grid[i].second, dx, dy, i == 5);
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
    EXPECT_EQ(ResidualScaleText(123.4), "O-C: 30 px = 123\"");
    // Three visible stars fit exactly: nothing to show.
    SessionData three;
    for (int i : {0, 2, 4}) AddStar(three, f, grid[i].first, grid[i].second);
    EXPECT_TRUE(ComputeResidualVectors(three, SolvePlate(three), PixelView(1000, 700)).arrows.empty());
}

}  // namespace
