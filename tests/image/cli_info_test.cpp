// The command line's info on still pictures, and FFmpeg's diagnostics.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bmp_test_files.h"
#include "image/video_decoder.h"
#include "platform/diagnostics.h"
#include "still_test_files.h"
#include "support/cli_run.h"
#include "support/scratch_dir.h"

using testing_support::CliRun;

namespace {

CliRun Cli(const std::string& args) { return testing_support::RunCli("info " + args); }

}  // namespace

TEST(CliInfo, PrintsSizeTypeAndFramesWhateverTheExtensionCaseAStillsFormatAndWcsAndTheStatusMessageOfAFailure) {
    const std::string gradient = testing_support::ReadText(VELKARN_SOURCE_DIR "/tests/image/data/gradient_37x23.bmp");
    const std::string copy = bmp_test::Write("GRADIENT.BMP", {gradient.begin(), gradient.end()});
    const CliRun r = Cli(copy);
    EXPECT_EQ(std::pair(r.status, r.out), std::pair(0, std::string("width: 37\nheight: 23\ntype: 1 (still picture)\nframes: 1\n")));
    EXPECT_NE(Cli(copy + " --json").out.find("\"status\":0,\"width\":37,\"height\":23,\"type\":1,\"frames\":1}"),
              std::string::npos);

    const CliRun bad = Cli(bmp_test::Write("bad.bmp", {'P', '6', ' ', '1'}));
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.out.find("File has wrong format"), std::string::npos) << bad.out;
    const CliRun j = Cli("/nonexistent/meteor.bmp --json");
    EXPECT_EQ(j.status, 1);
    EXPECT_NE(j.out.find("\"status\":-1,\"message\":\"File cannot be opened!\""), std::string::npos) << j.out;
    EXPECT_EQ(Cli("").status, 2);

    // A still reports its format, depth, stretch and a FITS celestial WCS.
    const std::string fits = still_test::WriteDeepFits("wcs.fits", {"CTYPE1  = 'RA---TAN'", "CTYPE2  = 'DEC--TAN'"});
    const CliRun still = Cli(fits);
    EXPECT_EQ(std::pair(still.status, still.out),
              std::pair(0, std::string("width: 10\nheight: 10\ntype: 1 (still picture)\nframes: 1\nformat: FITS\nbits: 16\n"
                                       "black point: 1000\nwhite point: 3000\nplanes: 1\nwcs: RA---TAN\n")));
    const CliRun still_json = Cli(fits + " --json");
    EXPECT_NE(still_json.out.find("\"format\":\"FITS\",\"bits\":16,\"black_point\":1000,\"white_point\":3000,\"planes\":1,"
                                  "\"celestial_wcs\":true,\"wcs_projection\":\"RA---TAN\"}"),
              std::string::npos)
        << still_json.out;
}

// FFmpeg's complaints about a damaged file go into the program's
// diagnostics, never onto standard error, and the command line shows them
// only when verbose: a FITS file whose header FFmpeg reads as a 4 x 4
// picture, followed by bytes that make its demuxer complain.
TEST(VideoDiagnostics, FfmpegLogLinesReachTheSinkNotStandardErrorAndTheCommandLineOnlyWhenVerbose) {
    std::vector<std::uint8_t> bytes = still_test::FitsBlocks(still_test::ImageCards(8, {4, 4}), std::vector<std::uint8_t>(2880));
    bytes.resize(bytes.size() + 350, 'g');
    const std::string path = bmp_test::Write("damaged_fits.avi", bytes);
    std::vector<std::string> lines;
    SetDiagnosticSink([&](std::string_view source, std::string_view line) {
        lines.push_back(std::string(source) + ": " + std::string(line));
    });
    testing::internal::CaptureStderr();
    VideoDecoder::OpenStatus status;
    VideoDecoder::Open(path, status);
    const std::string err = testing::internal::GetCapturedStderr();
    SetDiagnosticSink({});
    EXPECT_EQ(err, "");
    ASSERT_FALSE(lines.empty());
    EXPECT_TRUE(lines[0].starts_with("ffmpeg: [fits @ ")) << lines[0];

    // Without a sink the lines go nowhere.
    testing::internal::CaptureStderr();
    VideoDecoder::Open(path, status);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(Cli(path).out.find("[fits @"), std::string::npos);
    EXPECT_NE(testing_support::RunCli("--verbose info " + path).out.find("velkarn-cli: ffmpeg: [fits @ "), std::string::npos);
}
