// Ranking the candidates of a search for a measured star.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "catalogue/estimate_string.h"
#include "catalogue/star_identification.h"
#include "image/meteor_image.h"
#include "session/session_data.h"

namespace {

CatStar Candidate(const char* name, float mag, float ra = 0, float de = 0) {
    CatStar c;
    std::snprintf(c.name, sizeof c.name, "%s", name);
    c.mag = mag;
    c.ra = ra;
    c.de = de;
    return c;
}

constexpr float kArcsec = 1.0f / 3600;

TEST(BrightnessRanking, TheSecondStarIsTheBestBeforeTheLastBest) {
    // 5.0, 3.0, 4.0: best 3.0, second 5.0, more than a magnitude fainter.
    auto c = ChooseByBrightness({Candidate("a", 5.0f), Candidate("b", 3.0f), Candidate("c", 4.0f)},
                                {false, false, false});
    EXPECT_EQ(c.selected, 1);
    EXPECT_EQ(c.warning, "");

    // 4.0 then 4.5: 4.5 never becomes best, so there is no second star.
    c = ChooseByBrightness({Candidate("a", 4.0f), Candidate("b", 4.5f)}, {false, false});
    EXPECT_EQ(c.selected, 0);
    EXPECT_EQ(c.warning, "");

    c = ChooseByBrightness({Candidate("a", 4.5f), Candidate("b", 4.0f)}, {false, false});
    EXPECT_EQ(c.selected, 1);
    EXPECT_EQ(c.warning, "There is a second star that is\n almost as bright as the selected star");
    EXPECT_EQ(c.warning_caption, "Search stars");
}

TEST(BrightnessRanking, StarsAlreadyMeasuredAreNeverPreselected) {
    auto c = ChooseByBrightness({Candidate("a", 3.0f), Candidate("b", 6.0f)}, {true, false});
    EXPECT_EQ(c.selected, 1);
    c = ChooseByBrightness({Candidate("a", 3.0f), Candidate("b", 6.0f)}, {true, true});
    EXPECT_EQ(c.selected, -1);
    EXPECT_EQ(c.warning, "Star was identified before");
    EXPECT_EQ(c.warning_caption, "Star measurement");
}

TEST(AccuracyRanking, BrighterStarAlmostAsAccurateGivesAWarning) {
    const std::vector<CatStar> stars{Candidate("faint", 5.0f), Candidate("bright", 4.0f)};
    auto c = ChooseByAccuracy(stars, {10 * kArcsec, 12 * kArcsec}, {false, false});
    EXPECT_EQ(c.selected, 0);
    EXPECT_EQ(c.warning, "There is a brighter star that yields\n almost the same astrometric accuracy");
    EXPECT_EQ(c.warning_caption, "Search stars");

    c = ChooseByAccuracy(stars, {10 * kArcsec, 14 * kArcsec}, {false, false});
    EXPECT_EQ(c.selected, 0);
    EXPECT_EQ(c.warning, "");

    // A brighter star that is measured already does not count.
    c = ChooseByAccuracy(stars, {10 * kArcsec, 12 * kArcsec}, {false, true});
    EXPECT_EQ(c.warning, "");

    c = ChooseByAccuracy(stars, {10 * kArcsec, 12 * kArcsec}, {true, true});
    EXPECT_EQ(c.selected, -1);
    EXPECT_EQ(c.warning, "Star was identified before");
}

TEST(StDevColumn, ShowsArcMinutesAndSecondsWithHalfASecondAdded) {
    EXPECT_EQ(StDevColumnText(0.0f), "\t 0'00\"");
    EXPECT_EQ(StDevColumnText(10 * kArcsec), "\t 0'10\"");
    EXPECT_EQ(StDevColumnText(75.2f * kArcsec), "\t 1'15\"");
    EXPECT_EQ(StDevColumnText(12.0f * 60 * kArcsec), "\t12'00\"");
}

TEST(EstimatedPosition, ReadsHoursOrDegreesAndMinutes) {
    EXPECT_FLOAT_EQ(fCnvEstStr("5 30"), 5.5f);
    EXPECT_FLOAT_EQ(fCnvEstStr("-10 30"), -10.5f);
    EXPECT_FLOAT_EQ(fCnvEstStr("-0 30"), -0.5f);
    EXPECT_FLOAT_EQ(fCnvEstStr("5h 30m"), 5.5f);
    EXPECT_FLOAT_EQ(fCnvEstStr("-5"), -5.0f);
    EXPECT_FLOAT_EQ(fCnvEstStr(""), 0.0f);
    EXPECT_FLOAT_EQ(fCnvEstStr("--"), 0.0f);
    // A decimal point separates like any other character.
    EXPECT_FLOAT_EQ(fCnvEstStr("5.5"), 5.0f + 5.0f / 60);
}

// A session of stars measured exactly on a gnomonic projection about
// RA 6 h, DE +20 deg at 200 mm per radian, on a 2000 x 1500 pixel image.
class RankingInSession : public ::testing::Test {
protected:
    void SetUp() override {
        image_.width = 2000;
        image_.height = 1500;
        image_.type = ImageType::Still;
        Mimg = &image_;
    }
    void TearDown() override { Mimg = nullptr; }

    // Plate position (mm) of a sky position (hours, degrees).
    static void Plate(double ra, double de, float& x, float& y) {
        const double rc = std::numbers::pi / 2, dc = 20 * std::numbers::pi / 180;
        const double a = ra * std::numbers::pi / 12, d = de * std::numbers::pi / 180;
        const double s[3] = {std::cos(d) * std::cos(a), std::cos(d) * std::sin(a), std::sin(d)};
        const double cen[3] = {std::cos(dc) * std::cos(rc), std::cos(dc) * std::sin(rc), std::sin(dc)};
        const double west[3] = {std::sin(rc), -std::cos(rc), 0};
        const double south[3] = {std::cos(rc) * std::sin(dc), std::sin(rc) * std::sin(dc), -std::cos(dc)};
        auto dot = [&](const double* u) { return u[0] * s[0] + u[1] * s[1] + u[2] * s[2]; };
        x = static_cast<float>(12 + 200 * dot(west) / dot(cen));
        y = static_cast<float>(9 + 200 * dot(south) / dot(cen));
    }
    void Measure(const CatStar& c) {
        float x, y;
        Plate(c.ra, c.de, x, y);
        session_.AddStar(Star(c, x, y), 1);
    }

    MeteorImage image_;
    SessionData session_;
};

TEST_F(RankingInSession, PreselectsTheCandidateThatFitsThePlateAndLeavesTheSessionAsItWas) {
    Measure(Candidate("A", 3.0f, 5.8f, 18.0f));
    Measure(Candidate("B", 3.5f, 6.2f, 18.5f));
    Measure(Candidate("C", 4.0f, 6.1f, 22.0f));
    Measure(Candidate("D", 4.5f, 5.9f, 21.0f));

    const CatStar right = Candidate("right", 5.0f, 6.0f, 19.5f);
    const CatStar wrong = Candidate("wrong", 2.0f, 6.02f, 19.7f);  // brighter, 0.3 deg away
    float x, y;
    Plate(right.ra, right.de, x, y);
    const auto r = RankCandidates(session_, {wrong, right}, x, y);

    EXPECT_EQ(r.selected, 1);
    EXPECT_EQ(r.warning, "");
    ASSERT_EQ(r.metrics.size(), 2u);
    EXPECT_LT(r.metrics[1], 0.5f * kArcsec);
    EXPECT_GT(r.metrics[0], 60 * kArcsec);
    EXPECT_EQ(r.lines[1], right.MakeListBoxShortText() + StDevColumnText(r.metrics[1]));

    EXPECT_EQ(session_.nstar, 4u);
    EXPECT_STREQ(session_.stars.back().name, "D");
    EXPECT_EQ(session_.order, 1);

    // Once the right star is measured, the other one is all that is left.
    session_.AddStar(Star(right, x, y), 1);
    const auto again = RankCandidates(session_, {wrong, right}, x, y);
    EXPECT_EQ(again.selected, 0);
}

TEST_F(RankingInSession, TryingCandidatesKeepsAnOrderLoweredByHand) {
    // Ten visible stars: an eleventh sets order 3 and dropping it again sets
    // 2, which would undo the observer's order 1.
    for (int i = 0; i < 10; ++i) {
        char name[8];
        std::snprintf(name, sizeof name, "S%d", i);
        Measure(Candidate(name, 4.0f, 5.7f + 0.07f * i, 17.0f + (i * 7 % 10) * 0.6f));
    }
    ASSERT_EQ(session_.order, 2);
    session_.MinOrder();
    const CatStar c = Candidate("new", 5.0f, 6.0f, 19.5f);
    float x, y;
    Plate(c.ra, c.de, x, y);
    RankCandidates(session_, {c}, x, y);
    EXPECT_EQ(session_.order, 1);
    EXPECT_EQ(session_.nstar, 10u);
}

TEST_F(RankingInSession, WithTooFewVisibleStarsBrightnessDecides) {
    Measure(Candidate("A", 3.0f, 5.8f, 18.0f));
    Measure(Candidate("B", 3.5f, 6.2f, 18.5f));
    Measure(Candidate("C", 4.0f, 6.1f, 22.0f));
    session_.fhide(0);
    const auto r = RankCandidates(session_, {Candidate("x", 6.0f), Candidate("y", 4.0f)}, 10.0f, 10.0f);
    EXPECT_EQ(r.selected, 1);
    EXPECT_TRUE(r.metrics.empty());
}

}  // namespace
