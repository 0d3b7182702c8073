// The automatic identification on rendered fields whose truth is known: no
// star is named wrongly, nearly every catalogue star is found, and a
// reduction from the found stars puts the meteor where it truly is; and
// velkarn-cli identify on such a photograph, by the solver or by the WCS of
// a FITS header.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <numbers>
#include <string>
#include <tuple>

#include "identify/identify_stars.h"
#include "identify_scene.h"
#include "platform/scripted.h"
#include "session/session_data.h"
#include "session/sky_field.h"
#include "support/cli_run.h"
#include "support/scratch_dir.h"

using identify_test::Field;
using identify_test::FromTopDown;
using testing_support::CliRun;

namespace {

constexpr float kLimit = 6.0f;

// Orion at 35 mm, a field across RA 0h, one near the pole, Ursa Major at
// 16 mm and the Pleiades at 85 mm.
TEST(IdentifyFields, NamesFindsAndReducesLikeTheTruth) {
    if (const std::string why = identify_test::SolverMissing(); !why.empty()) GTEST_SKIP() << why;
    const int w = 2000, h = 1333;
    for (const auto& [ra0, de0, focal, roll] : {std::tuple{5.6, 3.0, 35.0, 8.0}, {0.05, 20.0, 50.0, -20.0}, {2.0, 86.5, 35.0, 130.0},
                                               {11.5, 50.0, 16.0, 0.0}, {3.8, 24.0, 85.0, 45.0}}) {
        SCOPED_TRACE(testing::Message() << "RA " << ra0 << " Dec " << de0 << " focal " << focal);
        const sky_scene::Scene scene = Field(ra0, de0, focal, roll, w, h, 7.0f);
        const auto picture = FromTopDown(sky_scene::RenderPhoto(scene, 7), w, h);

        const IdentifyRequest request{.files = identify_test::ShippedCatalogue(), .limit = kLimit};
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
    }
}

constexpr auto Cli = testing_support::RunCli;

// velkarn-cli identify on a photograph of Orion: a FITS whose header carries
// the field's true gnomonic WCS gives its stars from the header, without the
// solver; a BMP is solved, its stars printed and saved; a blank picture gives
// the message and no session.
TEST(IdentifyCli, TakesTheSolutionOfAFitsHeaderAndPrintsAndSavesTheStarsOfAPhotograph) {
    const testing_support::ScratchDir scratch;
    const auto& dir = scratch.path();
    const int w = 1600, h = 1200;
    const auto scene = identify_test::Field(5.6, 3.0, 35, 8, w, h, 7.0f);
    const auto picture = FromTopDown(sky_scene::RenderPhoto(scene, 3), w, h);
    // Image right = -(xi cos r - eta sin r), up = xi sin r + eta cos r, in
    // focal lengths; the matrix is its own inverse.
    const double per_pixel = 0.012 / scene.camera.focal_mm * 180 / std::numbers::pi;
    const double c = std::cos(scene.camera.roll_deg * std::numbers::pi / 180) * per_pixel;
    const double s = std::sin(scene.camera.roll_deg * std::numbers::pi / 180) * per_pixel;
    std::vector<std::pair<std::string, std::string>> cards = {{"CTYPE1", "'RA---TAN'"}, {"CTYPE2", "'DEC--TAN'"}};
    const double values[] = {scene.camera.ra0 * 15, scene.camera.de0, w / 2.0 + 0.5, h / 2.0 + 0.5, -c, s, s, c};
    const char* keys[] = {"CRVAL1", "CRVAL2", "CRPIX1", "CRPIX2", "CD1_1", "CD1_2", "CD2_1", "CD2_2"};
    for (int i = 0; i < 8; ++i) {
        char text[32];
        cards.emplace_back(keys[i], std::string(text, std::to_chars(text, text + sizeof text, values[i]).ptr));
    }
    const std::string fits = (dir / "orion.fits").string();
    ASSERT_EQ(identify_test::WriteFits(fits, picture, cards), 0);
    const CliRun header = Cli("identify " + fits + " --limit 6 --json");
    ASSERT_EQ(header.status, 0) << header.out;
    EXPECT_NE(header.out.find("\"solved_from\":\"header\""), std::string::npos) << header.out;
    EXPECT_NE(header.out.find("\"name\":\"58 Ori\""), std::string::npos) << header.out;

    if (const std::string why = identify_test::SolverMissing(); !why.empty()) GTEST_SKIP() << why;
    const std::string bmp = (dir / "orion.bmp").string();
    identify_test::WriteBmp(bmp, picture);
    const CliRun text = Cli("identify " + bmp + " --limit 6 --save " + (dir / "orion.ses").string());
    ASSERT_EQ(text.status, 0) << text.out;
    EXPECT_NE(text.out.find("Centre: RA 05h 3"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("58 Ori\t0.45\t"), std::string::npos) << text.out;  // Betelgeuse
    EXPECT_NE(testing_support::ReadText(dir / "orion.ses").find("58 Ori"), std::string::npos);

    identify_test::WriteBmp((dir / "blank.bmp").string(), {w, h, std::vector<std::uint8_t>(packed_dib::Stride(w) * h, 40)});
    const CliRun none = Cli("identify " + (dir / "blank.bmp").string() + " --save " + (dir / "blank.ses").string());
    EXPECT_EQ(none.status, 1);
    EXPECT_NE(none.out.find("No plate solution found"), std::string::npos) << none.out;
    EXPECT_FALSE(std::filesystem::exists(dir / "blank.ses"));
}

}  // namespace
