// The reduction recovers the truth: plate positions made from known sky
// positions through a known projection come back as those sky positions.

#include <gtest/gtest.h>

#include <cfloat>
#include <random>

#include "sky_field.h"

namespace {
constexpr double kPi = sky::kPi;

// Plate to sky: standard coordinates as a polynomial of the plate position
// relative to the image centre, then the inverse gnomonic projection about
// the tangent point (textbook formulas: xi east, eta north).
struct Mapping {
    double ra0_h, de0_deg;
    double focal = 50.0;
    double cubic = 0.0;  // strength of the cubic distortion
    double xc = 6.0, yc = 4.2;

    void ToSky(double x, double y, double& ra_h, double& de_deg) const {
        const double X = x - xc, Y = y - yc;
        const double r = 0.2;  // rotation, radians
        const double a = X * std::cos(r) + Y * std::sin(r);
        const double b = -X * std::sin(r) + Y * std::cos(r);
        const double u = a + cubic * (a * a * a - 0.5 * a * b * b + 0.3 * b * b * b);
        const double v = b + cubic * (b * b * b + 0.4 * a * a * b - 0.2 * a * a * a);
        const double xi = -u / focal, eta = v / focal;
        const double a0 = ra0_h * kPi / 12, d0 = de0_deg * kPi / 180;
        const double de = std::asin((std::sin(d0) + eta * std::cos(d0)) / std::sqrt(1 + xi * xi + eta * eta));
        double ra = a0 + std::atan2(xi, std::cos(d0) - eta * std::sin(d0));
        ra = std::fmod(ra + 4 * kPi, 2 * kPi);
        ra_h = ra * 12 / kPi;
        de_deg = de * 180 / kPi;
    }
};

// The error that single precision cannot avoid, in arcseconds on the sky:
// half a unit in the last place of the float RA and DE results, and a few
// units of the float direction vectors the reduction works with, whose z
// component loses declination near the poles as 1 / cos(DE).
double FloatLimitArcsec(double ra_h, double de_deg) {
    const double ulp_ra = std::nextafter(static_cast<float>(ra_h), FLT_MAX) - static_cast<float>(ra_h);
    const double ulp_de = std::nextafter(static_cast<float>(std::fabs(de_deg)), FLT_MAX) -
                          static_cast<float>(std::fabs(de_deg));
    const double cosd = std::cos(de_deg * kPi / 180);
    const double ra_arcsec = ulp_ra * 15 * 3600 * cosd;
    const double outputs = 0.5 * std::hypot(ra_arcsec, ulp_de * 3600);
    const double vectors = 4 * std::ldexp(1.0, -24) / cosd * 180 / kPi * 3600;
    return outputs + vectors;
}

void FillSession(SessionData& s, const Mapping& m, int nstars, std::mt19937& rng, double noise_mm = 0) {
    std::uniform_real_distribution<double> ux(0.3, 11.7), uy(0.3, 8.1);
    std::normal_distribution<double> noise(0.0, noise_mm > 0 ? noise_mm : 1.0);
    for (int i = 0; i < nstars; ++i) {
        const double x = ux(rng), y = uy(rng);
        double ra, de;
        m.ToSky(x, y, ra, de);
        CatStar c{"", 0.0f, static_cast<float>(ra), 0.0f, 0.0f, static_cast<float>(de)};
        copy_text(c.name, "R" + std::to_string(i));
        const double ex = noise_mm > 0 ? noise(rng) : 0, ey = noise_mm > 0 ? noise(rng) : 0;
        s.AddStar(Star(c, static_cast<float>(x + ex), static_cast<float>(y + ey)), 0);
    }
}

// Largest error, beyond what single precision forces, of EstimateRADE over
// a grid of plate points.
double WorstExcessArcsec(SessionData& s, const Mapping& m) {
    double worst = 0;
    for (double x = 0.5; x < 12; x += 1.3) {
        for (double y = 0.4; y < 8.4; y += 1.1) {
            float ra, de;
            s.EstimateRADE(static_cast<float>(x), static_cast<float>(y), ra, de);
            double tra, tde;
            m.ToSky(static_cast<float>(x), static_cast<float>(y), tra, tde);
            const double err = sky::ArcsecBetween(ra, de, tra, tde) - FloatLimitArcsec(tra, tde);
            worst = std::max(worst, err);
        }
    }
    return worst;
}

class ReductionNoise : public ::testing::Test {
protected:
    void SetUp() override { SessionData::dlgdat = DialogData(); }
    sky::TestImage image_{1000, 700, ImageType::Still};
    CurrentImage current_{&image_};
};
class ReductionAccuracy : public ReductionNoise, public ::testing::WithParamInterface<std::pair<double, double>> {};
}  // namespace

TEST_P(ReductionAccuracy, LinearMappingAtOrderOneAndCubicDistortionAtOrderThree) {
    std::mt19937 rng(11);
    Mapping m{GetParam().first, GetParam().second};
    SessionData s;
    FillSession(s, m, 6, rng);
    ASSERT_EQ(s.order, 1);
    s.CalculateOC();  // moves the centre onto the image centre
    EXPECT_EQ(std::pair(s.x0, s.y0), std::pair(6.0f, 4.2f));
    s.CalculateOC();
    EXPECT_LT(WorstExcessArcsec(s, m), 0.01);

    m.focal = 24.0;
    m.cubic = 2e-3;
    rng.seed(12);
    SessionData c;
    FillSession(c, m, 16, rng);
    ASSERT_EQ(c.order, 3);
    c.CalculateOC();
    c.CalculateOC();
    EXPECT_LT(WorstExcessArcsec(c, m), 0.01);
    // The same field at order 1 misses the distortion by far.
    c.MinOrder();
    c.MinOrder();
    EXPECT_GT(WorstExcessArcsec(c, m), 10.0);
}

INSTANTIATE_TEST_SUITE_P(Fields, ReductionAccuracy,
                         ::testing::Values(std::pair{6.0, 0.0},      // on the equator
                                           std::pair{14.0, 89.0},    // near the pole
                                           std::pair{0.02, 20.0}));  // straddling 0 h

TEST_F(ReductionNoise, StandardDeviationEstimatesTheMeasuringError) {
    std::mt19937 rng(5);
    const double sigma_mm = 0.004;  // a third of a pixel
    const Mapping m{20.5, 35.0};
    const double sigma_deg = sigma_mm / m.focal * 180 / kPi;
    double sum = 0;
    const int trials = 150;
    for (int t = 0; t < trials; ++t) {
        SessionData s;
        FillSession(s, m, 25, rng, sigma_mm);
        s.CalculateOC();
        s.CalculateOC();
        sum += s.sd;
    }
    EXPECT_NEAR(sum / trials / sigma_deg, 1.0, 0.05);
}
