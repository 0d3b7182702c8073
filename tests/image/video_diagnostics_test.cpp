// FFmpeg's complaints about a damaged file go into the program's
// diagnostics, never onto standard error.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "image/video_decoder.h"
#include "platform/diagnostics.h"
#include "support/cli_run.h"

namespace {

// A FITS file whose header FFmpeg reads as a 4 x 4 picture, followed by
// bytes that make its demuxer complain.
std::string DamagedFits() {
    std::string header;
    for (const char* card : {"SIMPLE  =                    T", "BITPIX  =                    8",
                             "NAXIS   =                    2", "NAXIS1  =                    4",
                             "NAXIS2  =                    4", "END"}) {
        header += std::string(card) + std::string(80 - std::string(card).size(), ' ');
    }
    header.resize(2880, ' ');
    std::string data(2880, '\0');
    const auto path = std::filesystem::path(testing::TempDir()) / "velkarn_damaged_fits.avi";
    std::ofstream(path, std::ios::binary) << header << data << std::string(350, 'g');
    return path.string();
}

std::string CliOutput(const std::string& args) { return testing_support::RunCli(args).out; }

}  // namespace

TEST(VideoDiagnostics, FfmpegLogLinesReachTheSinkAndNotStandardError) {
    const std::string path = DamagedFits();
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
}

TEST(VideoDiagnostics, TheCommandLineShowsThemOnlyWhenVerbose) {
    const std::string path = DamagedFits();
    EXPECT_EQ(CliOutput("info " + path).find("[fits @"), std::string::npos);
    EXPECT_NE(CliOutput("--verbose info " + path).find("velkarn-cli: ffmpeg: [fits @ "), std::string::npos);
}
