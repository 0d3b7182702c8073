#pragma once
// The session the reduction and analysis benchmarks share: n stars on a
// 50 mm plate with a little measuring noise, and 50 meteor points, measured
// on the current image.

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "image/meteor_image.h"
#include "session/fixed_text.h"
#include "session/session_data.h"

namespace bench {

class BenchImage : public MeteorImage {
public:
    BenchImage() {
        width = 1000;
        height = 700;
        type = ImageType::Still;
    }
};

// A session of n stars (order 3) and 50 meteor points.
struct BenchSession {
    BenchImage image;
    CurrentImage current{&image};
    SessionData s;
    std::vector<float> dra, dde;
    float sdv[3] = {0, 0, 0};

    explicit BenchSession(int n) {
        std::mt19937 rng(3);
        std::uniform_real_distribution<float> ux(0.2f, 11.8f), uy(0.2f, 8.2f);
        std::normal_distribution<float> noise(0.0f, 0.003f);
        const double f = 50.0, ra0 = 3.0 * M_PI / 12, de0 = 40.0 * M_PI / 180;
        for (int i = 0; i < n; ++i) {
            const float x = ux(rng), y = uy(rng);
            const double xi = -(x - 6.0) / f, eta = (y - 4.2) / f;
            const double de =
                std::asin((std::sin(de0) + eta * std::cos(de0)) / std::sqrt(1 + xi * xi + eta * eta));
            const double ra = ra0 + std::atan2(xi, std::cos(de0) - eta * std::sin(de0));
            CatStar c;
            copy_text(c.name, "B" + std::to_string(i));
            c.ra = static_cast<float>(ra * 12 / M_PI);
            c.de = static_cast<float>(de * 180 / M_PI);
            s.AddStar(Star(c, x + noise(rng), y + noise(rng)), 0);
        }
        for (int j = 0; j < 50; ++j) s.AddMetPnt(Meteor(3.0f + 0.1f * j, 2.0f + 0.07f * j, j));
        s.CalculateOC();
        dra.resize(s.nstar);
        dde.resize(s.nstar);
    }
    void TrialResiduals(unsigned k) { s.CalculateOC(static_cast<int>(k), sdv, dra.data(), dde.data()); }
};

}  // namespace bench
