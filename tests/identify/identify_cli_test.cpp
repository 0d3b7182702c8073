// velkarn-cli identify on a rendered photograph: the stars it prints and
// the session it saves, and the message for a picture without stars.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fitsio.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>
#include <string>

#include "identify_scene.h"
#include "support/cli_run.h"
#include "support/scratch_dir.h"

namespace {

using testing_support::CliRun;
constexpr auto Cli = testing_support::RunCli;

TEST(IdentifyCli, PrintsAndSavesTheStarsOfAPhotograph) {
    if (const std::string why = identify_test::SolverMissing(); !why.empty()) GTEST_SKIP() << why;
    const testing_support::ScratchDir scratch;
    const auto& dir = scratch.path();
    const int w = 1600, h = 1200;
    const auto scene = identify_test::Field(5.6, 3.0, 35, 8, w, h, 7.0f);
    const std::string bmp = (dir / "orion.bmp").string();
    identify_test::WriteBmp(bmp, identify_test::FromTopDown(sky_scene::RenderPhoto(scene, 3), w, h));

    const CliRun text = Cli("identify " + bmp + " --limit 6 --save " + (dir / "orion.ses").string());
    ASSERT_EQ(text.status, 0) << text.out;
    EXPECT_NE(text.out.find("Centre: RA 05h 3"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("58 Ori\t0.45\t"), std::string::npos) << text.out;  // Betelgeuse
    EXPECT_NE(testing_support::ReadText(dir / "orion.ses").find("58 Ori"), std::string::npos);

    const CliRun json = Cli("identify " + bmp + " --limit 6 --json");
    ASSERT_EQ(json.status, 0) << json.out;
    EXPECT_NE(json.out.find("\"name\":\"58 Ori\""), std::string::npos) << json.out;

    // A blank picture: the message, and no session written.
    identify_test::Picture blank;
    blank.width = w;
    blank.height = h;
    blank.dib.assign(packed_dib::Stride(w) * h, 40);
    identify_test::WriteBmp((dir / "blank.bmp").string(), blank);
    const CliRun none = Cli("identify " + (dir / "blank.bmp").string() + " --save " + (dir / "blank.ses").string());
    EXPECT_EQ(none.status, 1);
    EXPECT_NE(none.out.find("No plate solution found"), std::string::npos) << none.out;
    EXPECT_FALSE(std::filesystem::exists(dir / "blank.ses"));
}

// The same field as a FITS whose header carries its true gnomonic WCS: the
// stars come from the header, without the solver.
TEST(IdentifyCli, TakesTheSolutionOfAFitsHeader) {
    const testing_support::ScratchDir dir;
    const int w = 1600, h = 1200;
    const auto scene = identify_test::Field(5.6, 3.0, 35, 8, w, h, 7.0f);
    const auto picture = identify_test::FromTopDown(sky_scene::RenderPhoto(scene, 3), w, h);
    const std::string path = dir.file("orion.fits");
    int status = 0;
    fitsfile* f = nullptr;
    fits_create_file(&f, path.c_str(), &status);
    long axes[2] = {w, h};
    fits_create_img(f, BYTE_IMG, 2, axes, &status);
    // FITS rows run bottom first, as the picture's.
    for (int r = 0; r < h; ++r)
        fits_write_img(f, TBYTE, static_cast<LONGLONG>(r) * w + 1, w,
                       const_cast<std::uint8_t*>(picture.dib.data() + r * packed_dib::Stride(w)), &status);
    // Image right = -(xi cos r - eta sin r), up = xi sin r + eta cos r, in
    // focal lengths; the matrix is its own inverse.
    const double per_pixel = 0.012 / scene.camera.focal_mm * 180 / std::numbers::pi;
    const double c = std::cos(scene.camera.roll_deg * std::numbers::pi / 180) * per_pixel;
    const double s = std::sin(scene.camera.roll_deg * std::numbers::pi / 180) * per_pixel;
    double values[] = {scene.camera.ra0 * 15, scene.camera.de0, w / 2.0 + 0.5, h / 2.0 + 0.5, -c, s, s, c};
    const char* keys[] = {"CRVAL1", "CRVAL2", "CRPIX1", "CRPIX2", "CD1_1", "CD1_2", "CD2_1", "CD2_2"};
    char ra_type[] = "RA---TAN", de_type[] = "DEC--TAN";
    fits_write_key(f, TSTRING, "CTYPE1", ra_type, nullptr, &status);
    fits_write_key(f, TSTRING, "CTYPE2", de_type, nullptr, &status);
    for (int i = 0; i < 8; ++i) fits_write_key(f, TDOUBLE, keys[i], &values[i], nullptr, &status);
    fits_close_file(f, &status);
    ASSERT_EQ(status, 0);

    const CliRun r = Cli("identify " + path + " --limit 6 --json");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("\"solved_from\":\"header\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"name\":\"58 Ori\""), std::string::npos) << r.out;
}

}  // namespace
