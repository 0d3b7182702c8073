// The automatic identification on rendered fields whose truth is known: no
// star is named wrongly, nearly every catalogue star is found, and a
// reduction from the found stars puts the meteor where it truly is.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "identify/identify_stars.h"
#include "identify_scene.h"
#include "platform/scripted.h"
#include "session/session_data.h"
#include "session/sky_field.h"

namespace {

using identify_test::Field;
using identify_test::FromTopDown;

constexpr float kLimit = 6.0f;

struct FieldCase {
    const char* name;
    double ra, de, focal, roll;
};

class IdentifyFields : public ::testing::TestWithParam<FieldCase> {};

TEST_P(IdentifyFields, NamesFindsAndReducesLikeTheTruth) {
    if (const std::string why = identify_test::SolverMissing(); !why.empty()) GTEST_SKIP() << why;
    const FieldCase& c = GetParam();
    const int w = 2000, h = 1333;
    const sky_scene::Scene scene = Field(c.ra, c.de, c.focal, c.roll, w, h, 7.0f);
    const auto picture = FromTopDown(sky_scene::RenderPhoto(scene, 7), w, h);

    IdentifyRequest request;
    request.files = identify_test::ShippedCatalogue();
    request.limit = kLimit;
    ScriptedProgress progress;
    const IdentifyResult r = IdentifyStars(picture.View(), request, progress);
    ASSERT_EQ(r.status, IdentifyStatus::Found) << r.detected << " stars detected";

    // Named rightly: of the drawn stars that could pass for it (up to a
    // magnitude fainter), the one nearest the measured centre is the star
    // named, and near (a faint neighbour may pull the centroid a little).
    for (const StarProposal& p : r.proposals) {
        const sky_scene::TrueStar* nearest = nullptr;
        double d = 1e9;
        for (const auto& s : scene.rendered)
            if (s.cat.mag <= p.star.mag + 1 && std::hypot(p.x - s.u, p.y - s.v) < d) {
                d = std::hypot(p.x - s.u, p.y - s.v);
                nearest = &s;
            }
        ASSERT_NE(nearest, nullptr);
        EXPECT_STREQ(nearest->cat.name, p.star.name);
        EXPECT_LT(d, 2.0) << p.star.name;
    }
    int inside = 0, found = 0;
    for (const auto& s : scene.rendered) {
        if (s.cat.mag > kLimit || s.u < 20 || s.v < 20 || s.u > w - 20 || s.v > h - 20) continue;
        ++inside;
        for (const StarProposal& p : r.proposals) found += std::strcmp(p.star.name, s.cat.name) == 0;
    }
    EXPECT_GE(found, 0.9 * inside) << found << " of " << inside;

    SessionData session;
    sky::TestImage image(w, h, ImageType::Still);
    CurrentImage current(&image);
    AddProposals(session, r.proposals);
    double worst = 0;
    for (const sky_scene::TruePoint& p : scene.meteor) {
        float ra = 0, de = 0;
        session.EstimateRADE(static_cast<float>(p.u * 0.012), static_cast<float>(p.v * 0.012), ra, de);
        worst = std::max(worst, sky_scene::Separation(ra, de, p.ra, p.de) * 3600 / scene.camera.ArcsecPerPixel());
    }
    EXPECT_LT(worst, 0.3) << "pixels, order " << session.order << ", " << r.proposals.size() << " stars";
    std::printf("%s: %zu proposals, %d of %d found, worst meteor point %.3f px, %d detected\n", c.name,
                r.proposals.size(), found, inside, worst, r.detected);
}

INSTANTIATE_TEST_SUITE_P(Fields, IdentifyFields,
                         ::testing::Values(FieldCase{"Orion35mm", 5.6, 3.0, 35, 8},
                                           FieldCase{"AcrossRA0h", 0.05, 20.0, 50, -20},
                                           FieldCase{"NearThePole", 2.0, 86.5, 35, 130},
                                           FieldCase{"UrsaMajor16mm", 11.5, 50.0, 16, 0},
                                           FieldCase{"Pleiades85mm", 3.8, 24.0, 85, 45}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
