// Ranking the candidates of a search for a measured star.
#include <gtest/gtest.h>

#include "catalogue/estimate_string.h"
#include "catalogue/star_identification.h"
#include "measure/measure_test_support.h"

using measure_test::Cat;
using measure_test::Plate;

namespace {

constexpr float kArcsec = 1.0f / 3600;

TEST(BrightnessRanking, TheBestIsTheBrightestNewStarAndTheBestBeforeItWarnsWithinAMagnitude) {
    const struct {
        std::vector<float> mags;
        std::vector<bool> known;
        int selected;
        const char* warning;
    } cases[] = {
        // Best 3.0; the best before it, 5.0, is more than a magnitude fainter.
        {{5.0f, 3.0f, 4.0f}, {false, false, false}, 1, ""},
        // 4.5 never becomes best, so there is no second star.
        {{4.0f, 4.5f}, {false, false}, 0, ""},
        {{4.5f, 4.0f}, {false, false}, 1, "There is a second star that is\n almost as bright as the selected star"},
        // Stars already measured are never preselected.
        {{3.0f, 6.0f}, {true, false}, 1, ""},
        {{3.0f, 6.0f}, {true, true}, -1, "Star was identified before"},
    };
    for (const auto& c : cases) {
        std::vector<CatStar> stars;
        for (const float m : c.mags) stars.push_back(Cat("s", m, 0, 0));
        const CandidateChoice choice = ChooseByBrightness(stars, c.known);
        EXPECT_EQ(std::tuple(choice.selected, choice.warning), std::tuple(c.selected, c.warning))
            << testing::PrintToString(c.mags);
        if (!choice.warning.empty()) {
            EXPECT_EQ(choice.warning_caption, c.selected < 0 ? "Star measurement" : "Search stars");
        }
    }
}

TEST(AccuracyRanking, BrighterStarAlmostAsAccurateGivesAWarning) {
    const std::vector<CatStar> stars{Cat("faint", 5.0f, 0, 0), Cat("bright", 4.0f, 0, 0)};
    const struct {
        float bright_stdev;
        std::vector<bool> known;
        int selected;
        const char* warning;
    } cases[] = {
        {12, {false, false}, 0, "There is a brighter star that yields\n almost the same astrometric accuracy"},
        {14, {false, false}, 0, ""},
        {12, {false, true}, 0, ""},  // a brighter star measured already does not count
        {12, {true, true}, -1, "Star was identified before"},
    };
    for (const auto& c : cases) {
        const auto choice = ChooseByAccuracy(stars, {10 * kArcsec, c.bright_stdev * kArcsec}, c.known);
        EXPECT_EQ(std::tuple(choice.selected, choice.warning), std::tuple(c.selected, c.warning)) << c.bright_stdev;
    }
    EXPECT_EQ(ChooseByAccuracy(stars, {10 * kArcsec, 12 * kArcsec}, {false, false}).warning_caption, "Search stars");
}

TEST(StDevColumn, ShowsArcMinutesAndSecondsWithHalfASecondAddedAndEstimatesReadHoursOrDegreesAndMinutes) {
    EXPECT_EQ(StDevColumnText(10 * kArcsec), "\t 0'10\"");
    EXPECT_EQ(StDevColumnText(75.2f * kArcsec), "\t 1'15\"");
    EXPECT_EQ(StDevColumnText(12.0f * 60 * kArcsec), "\t12'00\"");

    // A decimal point separates like any other character.
    for (const auto& [text, value] : {std::pair{"5 30", 5.5f}, {"-10 30", -10.5f}, {"-0 30", -0.5f}, {"5h 30m", 5.5f},
                                      {"-5", -5.0f}, {"", 0.0f}, {"--", 0.0f}, {"5.5", 5.0f + 5.0f / 60}})
        EXPECT_FLOAT_EQ(fCnvEstStr(text), value) << text;
}

// Stars measured exactly on the projection about RA 6 h, DE +20 deg of a
// 2000 x 1500 pixel image.
class RankingInSession : public ::testing::Test {
protected:
    void Measure(const CatStar& c) { measure_test::MeasureExactly(session_, c); }
    measure_test::FieldImage image_;
    CurrentImage current_{&image_};
    SessionData session_;
};

TEST_F(RankingInSession, PreselectsTheCandidateThatFitsThePlateLeavingTheSessionAsItWasAndBrightnessWithFewStars) {
    Measure(Cat("A", 3.0f, 5.8f, 18.0f));
    Measure(Cat("B", 3.5f, 6.2f, 18.5f));
    Measure(Cat("C", 4.0f, 6.1f, 22.0f));
    Measure(Cat("D", 4.5f, 5.9f, 21.0f));

    const CatStar right = Cat("right", 5.0f, 6.0f, 19.5f);
    const CatStar wrong = Cat("wrong", 2.0f, 6.02f, 19.7f);  // brighter, 0.3 deg away
    float x, y;
    Plate(right.ra, right.de, x, y);
    const auto r = RankCandidates(session_, {wrong, right}, x, y);
    EXPECT_EQ(std::tuple(session_.nstar, std::string(session_.stars.back().name), session_.order),
              std::tuple(4u, "D", 1));

    EXPECT_EQ(std::tuple(r.selected, r.warning), std::tuple(1, ""));
    ASSERT_EQ(r.metrics.size(), 2u);
    EXPECT_LT(r.metrics[1], 0.5f * kArcsec);
    EXPECT_GT(r.metrics[0], 60 * kArcsec);
    EXPECT_EQ(r.lines[1], right.MakeListBoxShortText() + StDevColumnText(r.metrics[1]));

    // Once the right star is measured, the other one is all that is left.
    session_.AddStar(Star(right, x, y), 1);
    const auto again = RankCandidates(session_, {wrong, right}, x, y);
    EXPECT_EQ(again.selected, 0);

    // Below four visible stars there is no plate to fit: the brighter one.
    for (int i : {0, 1, 2}) session_.fhide(i);
    const auto few = RankCandidates(session_, {Cat("x", 6.0f, 0, 0), Cat("y", 4.0f, 0, 0)}, 10.0f, 10.0f);
    EXPECT_EQ(std::tuple(few.selected, few.metrics.size()), std::tuple(1, 0u));
}

TEST_F(RankingInSession, TryingCandidatesKeepsAnOrderLoweredByHand) {
    // Ten visible stars: an eleventh sets order 3 and dropping it again sets
    // 2, which would undo the observer's order 1.
    for (int i = 0; i < 10; ++i)
        Measure(Cat(("S" + std::to_string(i)).c_str(), 4.0f, 5.7f + 0.07f * i, 17.0f + (i * 7 % 10) * 0.6f));
    ASSERT_EQ(session_.order, 2);
    session_.MinOrder();
    const CatStar c = Cat("new", 5.0f, 6.0f, 19.5f);
    float x, y;
    Plate(c.ra, c.de, x, y);
    RankCandidates(session_, {c}, x, y);
    EXPECT_EQ(std::pair(session_.order, session_.nstar), std::pair(1, 10u));
}

}  // namespace
