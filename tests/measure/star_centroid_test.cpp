// The star centroid finds rendered stars to a twentieth of a pixel whatever
// their sub-pixel place, size or saturation, and refuses what it
// cannot measure well: noise alone, and a star cut by the image edge.
#include "measure/star_centroid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "image/packed_dib.h"

namespace {

struct Star {
    double x, y;  // centre, pixels from the lower-left corner
    double sigma;
    double amplitude;  // peak level above the sky of an unsampled profile
};

// A field rendered by integrating each star's Gaussian over every pixel,
// with Gaussian read noise, rounded and clipped to 8 bits.
class Field {
public:
    Field(int w, int h, double sky, double noise = 0.0, unsigned seed = 1) : w_(w), h_(h), level_(w * h, sky) {
        if (noise > 0) {
            std::mt19937 random(seed);
            std::normal_distribution<double> n(0.0, noise);
            for (double& v : level_) v += n(random);
        }
    }
    void Add(const Star& s) {
        const double k = 1.0 / (std::sqrt(2.0) * s.sigma);
        // 2 pi sigma^2 A is the star's whole light.
        const double light = s.amplitude * 2.0 * M_PI * s.sigma * s.sigma;
        for (int r = 0; r < h_; ++r)
            for (int c = 0; c < w_; ++c) {
                const double fx = 0.5 * (std::erf((c + 1 - s.x) * k) - std::erf((c - s.x) * k));
                const double fy = 0.5 * (std::erf((r + 1 - s.y) * k) - std::erf((r - s.y) * k));
                level_[r * w_ + c] += light * fx * fy;
            }
    }
    GreyView View() {
        dib_ = packed_dib::MakeGreyDib(w_, h_);
        for (int r = 0; r < h_; ++r)
            for (int c = 0; c < w_; ++c)
                packed_dib::Row(dib_, w_, r)[c] = static_cast<std::uint8_t>(std::clamp(std::lround(level_[r * w_ + c]), 0L, 255L));
        return GreyView::OfDib(dib_, w_, h_);
    }

private:
    int w_, h_;
    std::vector<double> level_;
    std::vector<std::uint8_t> dib_;
};

double Miss(const CentroidResult& r, const Star& s) {
    return r.centre ? std::hypot(r.centre->x - s.x, r.centre->y - s.y) : 99.0;
}

TEST(StarCentroid, FindsAStarToATwentiethOfAPixelAtEverySubPixelPlaceAndSizeAndWhenSaturated) {
    for (const double sigma : {0.7, 1.2, 2.5, 4.0})
        for (const double fx : {0.0, 0.125, 0.3, 0.5, 0.71, 0.875})
            for (const double fy : {0.0, 0.25, 0.55, 0.9}) {
                Field field(64, 64, 30.0);
                const Star s{31.0 + fx, 29.0 + fy, sigma, 150.0};
                field.Add(s);
                // A click on the quarter-pixel step, a pixel or two off.
                const CentroidResult r = StarCentroid(field.View(), std::round(s.x * 4) / 4 + 1.25, std::round(s.y * 4) / 4 - 0.75);
                SCOPED_TRACE(testing::Message() << "sigma " << sigma << " at " << s.x << ", " << s.y);
                EXPECT_LT(Miss(r, s), 0.05);
                ASSERT_TRUE(r.centre);
                EXPECT_NEAR(r.centre->background, 30.0, 1.0);
            }
    // Saturated: clipped at 255 over several pixels, found by its flat top.
    Field field(64, 64, 40.0);
    const Star s{30.4, 33.85, 2.0, 900.0};
    field.Add(s);
    EXPECT_LT(Miss(StarCentroid(field.View(), 31.0, 33.0), s), 0.05);
}

TEST(StarCentroid, NoiseAloneAndAStarCutByTheEdgeKeepTheClick) {
    Field noise(64, 64, 40.0, 3.0, 11);
    const GreyView view = noise.View();
    std::mt19937 random(5);
    std::uniform_real_distribution<double> place(10.0, 54.0);
    for (int i = 0; i < 200; ++i) {
        const CentroidResult r = StarCentroid(view, place(random), place(random));
        ASSERT_FALSE(r.centre) << "a star found in noise at click " << i;
        EXPECT_EQ(r.failure, CentroidFailure::NoStar);
    }

    Field edge(64, 64, 30.0);
    edge.Add({1.2, 40.0, 1.5, 150.0});
    const CentroidResult r = StarCentroid(edge.View(), 1.5, 40.0);
    EXPECT_FALSE(r.centre);
    EXPECT_EQ(r.failure, CentroidFailure::AtTheEdge);
    EXPECT_EQ(CentroidFailureText(r.failure), "The star is too near the image edge: the click is kept.");
}

}  // namespace
