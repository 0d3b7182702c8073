#include "session/reduction_report.h"

#include <gtest/gtest.h>

#include "session/session_data.h"
#include "session/sky_field.h"

namespace {

const double kOffsets[][2] = {{-0.35, -4.0}, {0.30, -3.5}, {0.05, 3.8}, {-0.25, 2.5}, {0.38, 2.9}, {0.10, -1.0}};

class ReductionReportTest : public ::testing::Test {
protected:
    void SetUp() override { SessionData::dlgdat = DialogData(); }

    // n stars of an exact field; star 0 measured 36 arcseconds off in x.
    void AddField(SessionData& s, int n) {
        const sky::Field f;
        for (int i = 0; i < n; ++i) {
            const std::string name = "F" + std::to_string(i);
            s.AddStar(sky::MakeStar(name.c_str(), f.ra0_h + kOffsets[i][0], f.de0_deg + kOffsets[i][1], f,
                                    i == 0 ? 0.05 : 0.0),
                      0);
        }
    }

    sky::TestImage image_{1000, 700, ImageType::Still};
    CurrentImage current_{&image_};
};

// The analysis rows show 36", -83" (as -123.) and a degree (as 9999.).
TEST(PackedForms, ResidualsBecomeWholeArcsecondsInMinutesAndSeconds) {
    EXPECT_NEAR(PackedResidual(0.0f), 0.0, 1e-3);
    EXPECT_EQ(PackedResidual(-1.0f), 9999);
    EXPECT_NEAR(PackedResidual(0.999f), 5956.0, 1.0);  // 59' 56.4": still shown

    EXPECT_NEAR(PackedDeviation(0.0f), 0.0, 1e-3);
    EXPECT_NEAR(PackedDeviation(0.5f), 3000.0, 1e-3);
    EXPECT_EQ(PackedDeviation(1.0f), 9999);
    EXPECT_EQ(PackedDeviation(7.0f), 9999);
}

TEST_F(ReductionReportTest, ReportsEveryStarAndLeavesTheSessionAsItWas) {
    SessionData s;
    AddField(s, 6);
    s.stars[5].hidden = 1;
    s.nhide = 1;
    const ReductionReport r = ReduceStars(s);
    ASSERT_TRUE(r.solved);
    EXPECT_TRUE(r.failure.empty());
    ASSERT_EQ(r.stars.size(), 6u);
    EXPECT_GT(r.rms_ra, 0.0f);
    EXPECT_GT(s.sd, 0.0f);
    EXPECT_EQ(r.stars[5].dra, 0.0f);  // hidden: no residual
    EXPECT_NE(r.stars[0].dra, 0.0f);
    // Hiding the one bad star leaves an exact field.
    ASSERT_TRUE(r.stars[0].sd_reversed);
    EXPECT_LT(*r.stars[0].sd_reversed, 1e-4f);
    // Five visible stars: reversing a visible one would leave four, enough.
    EXPECT_TRUE(r.stars[1].sd_reversed);
    EXPECT_EQ(s.nhide, 1u);
    EXPECT_EQ(s.stars[5].hidden, 1);
    EXPECT_EQ(s.order, 1);
}

TEST_F(ReductionReportTest, TooFewVisibleStarsGiveNoResidualsAndNoReversedStDevWhereItCannotRun) {
    SessionData s;
    AddField(s, 4);
    s.stars[3].hidden = 1;
    s.nhide = 1;
    const ReductionReport r = ReduceStars(s);
    EXPECT_FALSE(r.solved);
    EXPECT_TRUE(r.failure.empty());
    EXPECT_EQ(r.rms_ra, 0.0f);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(r.stars[i].sd_reversed) << i;  // would leave 2 visible
        EXPECT_EQ(r.stars[i].dra, 0.0f);
    }
    EXPECT_TRUE(r.stars[3].sd_reversed);  // with it in use: 4 visible
}

TEST_F(ReductionReportTest, AStarSetWithoutSolutionIsReportedNotThrown) {
    SessionData s;
    for (int i = 0; i < 5; ++i) {
        CatStar c;
        std::snprintf(c.name, sizeof c.name, "L%d", i);
        c.ra = c.raobs = 3.0f + 0.02f * i;
        c.de = c.deobs = 45.0f + 0.3f * i;
        s.AddStar(Star(c, 1.0f + i, 1.0f + 0.5f * i), 0);  // all on one line
    }
    ReductionReport r;
    ASSERT_NO_THROW(r = ReduceStars(s));
    EXPECT_FALSE(r.solved);
    EXPECT_FALSE(r.failure.empty());
    for (const StarReduction& row : r.stars) EXPECT_FALSE(row.sd_reversed);
    EXPECT_EQ(s.nhide, 0u);
}

}  // namespace
