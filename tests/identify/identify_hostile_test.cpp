// Pictures without a solution end with "No plate solution found" within the
// time limit, Escape ends the solver at once, and a damaged or missing
// solver setup is told, never a fault.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <random>

#include "identify/identify_stars.h"
#include "identify_scene.h"
#include "platform/scripted.h"
#include "support/scratch_dir.h"

namespace {

using Clock = std::chrono::steady_clock;

identify_test::Picture Flat(int w, int h, std::uint8_t level) {
    return {w, h, std::vector<std::uint8_t>(packed_dib::Stride(w) * h, level)};
}

// Round star images at random places over noise: a field no sky holds (w
// a multiple of 4, so that rows need no padding).
identify_test::Picture RandomStars(int w, int h, int count, std::uint32_t seed) {
    identify_test::Picture p = Flat(w, h, 0);
    std::mt19937 gen(seed);
    std::normal_distribution<double> noise(20, 2.5);
    std::vector<double> light(static_cast<std::size_t>(w) * h);
    for (double& v : light) v = noise(gen);
    std::uniform_real_distribution<double> x(10, w - 10), y(10, h - 10), peak(20, 200);
    for (int i = 0; i < count; ++i) {
        const double u = x(gen), v = y(gen), a = peak(gen);
        for (int r = static_cast<int>(v) - 6; r <= static_cast<int>(v) + 6; ++r)
            for (int c = static_cast<int>(u) - 6; c <= static_cast<int>(u) + 6; ++c)
                light[static_cast<std::size_t>(r) * w + c] +=
                    a * std::exp(-(std::pow(c + 0.5 - u, 2) + std::pow(r + 0.5 - v, 2)) / (2 * 1.3 * 1.3));
    }
    for (std::size_t i = 0; i < light.size(); ++i) p.dib[i] = static_cast<std::uint8_t>(std::clamp(std::lround(light[i]), 0L, 255L));
    return p;
}

// Escape, some 0.2 s into the solve of a field no sky holds, ends the
// solver at once and leaves nothing of it behind.
TEST(IdentifyHostile, PicturesWithoutASolutionEndWithTheMessageInTimeAndEscapeEndsTheSolverAtOnce) {
    if (const std::string why = identify_test::SolverMissing(); !why.empty()) GTEST_SKIP() << why;
    const int w = 800, h = 600;
    const std::pair<const char*, identify_test::Picture> cases[] = {
        {"blank", Flat(w, h, 40)}, {"overexposed", Flat(w, h, 255)}, {"noise", RandomStars(w, h, 0, 1)},
        {"one star", RandomStars(w, h, 1, 2)}, {"a field no sky holds", RandomStars(w, h, 60, 3)}};
    for (const auto& [name, picture] : cases) {
        ScriptedProgress progress;
        const auto start = Clock::now();
        const IdentifyResult r = IdentifyStars(picture.View(), {.files = identify_test::ShippedCatalogue(), .time_limit_s = 3}, progress);
        EXPECT_EQ(std::pair(r.status, r.proposals.empty()), std::pair(IdentifyStatus::NoSolution, true)) << name;
        // The limit holds, with room for a loaded machine to end the process.
        EXPECT_LT(std::chrono::duration<double>(Clock::now() - start).count(), 3 + 3) << name;
    }
    EXPECT_EQ(IdentifyStatusText(IdentifyStatus::NoSolution), "No plate solution found");

    ScriptedProgress progress;
    progress.escape_at_poll = 10;
    const testing_support::ScratchDir root;
    IdentifyRequest request{.files = identify_test::ShippedCatalogue(), .time_limit_s = 30};
    request.solver.temp_root = root.path().string();
    const auto start = Clock::now();
    EXPECT_EQ(IdentifyStars(cases[4].second.View(), request, progress).status, IdentifyStatus::Cancelled);
    EXPECT_LT(std::chrono::duration<double>(Clock::now() - start).count(), 5);
    EXPECT_TRUE(std::filesystem::is_empty(root.path()));
}

// A header written key by key over a blank 10 x 10 picture, in a directory
// removed when the program ends.
std::string Header(const std::string& name, const std::vector<std::pair<std::string, std::string>>& cards) {
    static const testing_support::ScratchDir dir;
    EXPECT_EQ(identify_test::WriteFits(dir.file(name), Flat(10, 10, 0), cards), 0);
    return dir.file(name);
}

TEST(IdentifyHostile, AHeaderWcsIsReadDefensivelyAndAMissingSolverOrIndexNamesThePackages) {
    const std::vector<std::pair<std::string, std::string>> good = {
        {"CTYPE1", "'RA---TAN-SIP'"}, {"CTYPE2", "'DEC--TAN-SIP'"}, {"CRVAL1", "83.8"}, {"CRVAL2", "-5.4"},
        {"CRPIX1", "5.5"},  {"CRPIX2", "5.5"},  {"CD1_1", "-0.01"}, {"CD1_2", "0"},   {"CD2_1", "0"},
        {"CD2_2", "0.01"},  {"A_ORDER", "2"},   {"A_2_0", "1e-6"},  {"B_ORDER", "2"}, {"B_0_2", "-1e-6"}};
    const auto wcs = ReadTanWcs(Header("identify_good.fits", good));
    ASSERT_TRUE(wcs.has_value());
    double ra = 0, de = 0, x = 0, y = 0;
    wcs->PixelToSky(9.5, 1.5, ra, de);
    ASSERT_TRUE(wcs->SkyToPixel(ra, de, x, y));
    EXPECT_NEAR(std::hypot(x - 9.5, y - 1.5), 0, 1e-6);

    // Each of these cards makes the header unusable: a solution that
    // cannot be, never a crash or a wild prediction.
    // CD1_1 and CD2_2 zero with the other two: singular.
    for (const auto& [key, value] : std::vector<std::pair<std::string, std::string>>{
             {"CD1_1", "0"}, {"CRVAL2", "95"}, {"A_ORDER", "40"}, {"CTYPE2", "'GLAT-TAN'"}, {"CRPIX1", "'x'"}}) {
        auto cards = good;
        for (auto& card : cards)
            if (card.first == key || (key == "CD1_1" && card.first == "CD2_2")) card.second = value;
        EXPECT_FALSE(ReadTanWcs(Header("identify_bad.fits", cards)).has_value()) << key;
    }
    const std::string truncated = Header("identify_cut.wcs", good);
    std::filesystem::resize_file(truncated, 1000);
    EXPECT_FALSE(ReadTanWcs(truncated).has_value());
    EXPECT_FALSE(ReadTanWcs("/nonexistent.wcs").has_value());

    // A missing solver or index names the packages to install.
    IdentifyRequest r{.files = identify_test::ShippedCatalogue(), .time_limit_s = 5};
    r.solver.program = "/nonexistent/solve-field";
    ScriptedProgress progress;
    EXPECT_EQ(IdentifyStars(Flat(100, 100, 20).View(), r, progress).status, IdentifyStatus::NoSolver);
    EXPECT_NE(IdentifyStatusText(IdentifyStatus::NoSolver).find("astrometry.net"), std::string::npos);
    r.solver.program = "/bin/true";
    r.solver.index_dirs = {"/nonexistent"};
    EXPECT_EQ(IdentifyStars(Flat(100, 100, 20).View(), r, progress).status, IdentifyStatus::NoIndex);
    EXPECT_NE(IdentifyStatusText(IdentifyStatus::NoIndex).find("astrometry-data-tycho2-10-19-littleendian"),
              std::string::npos);
}

}  // namespace
