#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "bmp_test_files.h"
#include "still_test_files.h"
#include "support/cli_run.h"

namespace {

using testing_support::CliRun;

CliRun Cli(const std::string& args) { return testing_support::RunCli("info " + args); }

}  // namespace

TEST(CliInfo, PrintsSizeTypeAndFramesOfABmpWhateverTheExtensionCase) {
    const auto copy = std::filesystem::path(testing::TempDir()) / "velkarn_info_GRADIENT.BMP";
    std::filesystem::copy_file(bmp_test::DataFile("gradient_37x23.bmp"), copy,
                               std::filesystem::copy_options::overwrite_existing);
    const CliRun r = Cli(copy.string());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "width: 37\nheight: 23\ntype: 1 (still picture)\nframes: 1\n");
    const CliRun j = Cli(copy.string() + " --json");
    EXPECT_EQ(j.status, 0);
    EXPECT_NE(j.out.find("\"status\":0,\"width\":37,\"height\":23,\"type\":1,\"frames\":1}"), std::string::npos)
        << j.out;
}

TEST(CliInfo, ReportsTheStatusMessageWithAFailingExitStatus) {
    const std::string bad = bmp_test::Write("bad.bmp", {'P', '6', ' ', '1'});
    const CliRun r = Cli(bad);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("File has wrong format"), std::string::npos) << r.out;
    const CliRun j = Cli("/nonexistent/meteor.bmp --json");
    EXPECT_EQ(j.status, 1);
    EXPECT_NE(j.out.find("\"status\":-1,\"message\":\"File cannot be opened!\""), std::string::npos) << j.out;
    EXPECT_EQ(Cli("").status, 2);
}

TEST(CliInfo, AStillReportsItsFormatDepthStretchAndAFitsCelestialWcs) {
    const still_test::Picture p = still_test::DeepPicture();
    std::vector<std::int16_t> data;
    for (const std::uint16_t v : p.values) data.push_back(static_cast<std::int16_t>(v - 32768));
    const std::string fits = still_test::WriteFits(
        "wcs.fits",
        still_test::ImageCards(16, {10, 10}, {"BZERO   =                32768", "CTYPE1  = 'RA---TAN'", "CTYPE2  = 'DEC--TAN'"}),
        still_test::BigEndian16(data));
    const CliRun r = Cli(fits);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "width: 10\nheight: 10\ntype: 1 (still picture)\nframes: 1\nformat: FITS\nbits: 16\n"
              "black point: 1000\nwhite point: 3000\nplanes: 1\nwcs: RA---TAN\n");
    const CliRun j = Cli(fits + " --json");
    EXPECT_NE(j.out.find("\"format\":\"FITS\",\"bits\":16,\"black_point\":1000,\"white_point\":3000,\"planes\":1,"
                         "\"celestial_wcs\":true,\"wcs_projection\":\"RA---TAN\"}"),
              std::string::npos)
        << j.out;

    const CliRun grey = Cli(still_test::Convert(still_test::WritePgm("grey.pgm", p), "grey.tif", "-depth 8"));
    EXPECT_NE(grey.out.find("frames: 1\nformat: TIFF\nbits: 8\n"), std::string::npos) << grey.out;
    EXPECT_EQ(grey.out.find("black point"), std::string::npos);
}
