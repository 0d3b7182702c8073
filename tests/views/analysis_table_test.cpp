// The analysis view's rows, columns and hits, on hand-made numbers, and the
// reduction report behind them; the window tests compare a shipped example
// with velkarn-cli and scroll it.
#include <gtest/gtest.h>

#include "session/reduction_report.h"
#include "session/session_data.h"
#include "session/sky_field.h"
#include "shell/analysis_table.h"
#include "view_test_support.h"

using namespace views_test;

namespace {

class AnalysisRows : public ::testing::Test {
protected:
    void SetUp() override {
        AddStarAt(s_, 100, 100, 1000, false, "Alp Per");
        AddStarAt(s_, 200, 100, 1000, true, "Bet Per");
        AddStarAt(s_, 300, 100, 1000, false, "Gam Per");
        r_.solved = true;
        r_.rms_ra = 36.0f / 3600;
        r_.rms_de = 83.0f / 3600;
        r_.stars = {{36.0f / 3600, -83.0f / 3600, 20.0f / 3600, 100.0f}, {0, 0, 12.0f / 3600, 66.6667f},
                    {1.5f, 0, std::nullopt, 0.0f}};
    }
    SessionData s_;
    ReductionReport r_;
};

// The window tests compare the rows of an example with velkarn-cli; here a
// row that cannot be computed and the footer of an unsolved field.
TEST_F(AnalysisRows, HiddenAndUncomputableRowsHaveTheirColumnsAndAnUnsolvedFooterShowsZero) {
    const AnalysisTable t = MakeAnalysisTable(s_, r_);
    ASSERT_EQ(t.rows.size(), 3u);
    EXPECT_EQ(t.rows[1], s_.Analysis(1) + "\t\t\t  12.\t 67%\t\t!");
    EXPECT_EQ(t.rows[2], s_.Analysis(2) + "\t9999.\t   0.\t-\t  0%\t\t!");
    EXPECT_EQ(t.footer, "\t  36.\t 123.");
    ReductionReport none;
    none.stars.resize(3);
    EXPECT_EQ(MakeAnalysisTable(s_, none).footer, "\t   0.\t   0.");
}

// The window tests scroll an example; here the rows drawn and picked when
// scrolled: one row fits, (101 - 40 - 40) / 20, and scrolled by one it is star 1.
TEST_F(AnalysisRows, OnlyTheScrolledRowsAreDrawnAndARightClickPicksTheRowUnderIt) {
    const AnalysisScroll scrolled = UpdateScrollBar(700, 101, 20, 16, 3, 1);
    int names = 0;
    for (const AnalysisText& a : AnalysisPaintItems(MakeAnalysisTable(s_, r_), s_, scrolled, AnalysisTabStops(700, 16, true), 20, -1))
        if (a.x == kAnalysisNameRight) names += a.text == "  Bet Per" && a.y == 40 ? 1 : 100;
    EXPECT_EQ(names, 1);
    EXPECT_EQ(ChooseAnalysisContext(s_, 45, 20, scrolled).iselect, 1);
    const AnalysisScroll low = UpdateScrollBar(700, 50, 20, 16, 3, 0);  // lower than the headers
    EXPECT_EQ(low.end_row - low.first_row, 0);
}

const double kOffsets[][2] = {{-0.35, -4.0}, {0.30, -3.5}, {0.05, 3.8}, {-0.25, 2.5}, {0.38, 2.9}, {0.10, -1.0}};

class ReductionReportTest : public ::testing::Test {
protected:
    void SetUp() override { SessionData::dlgdat = DialogData(); }

    // n stars of an exact field, the last `hidden` of them hidden; star 0
    // measured 36 arcseconds off in x.
    SessionData Field(int n, int hidden) {
        SessionData s;
        const sky::Field f;
        for (int i = 0; i < n; ++i) {
            const std::string name = "F" + std::to_string(i);
            s.AddStar(sky::MakeStar(name.c_str(), f.ra0_h + kOffsets[i][0], f.de0_deg + kOffsets[i][1], f, i == 0 ? 0.05 : 0.0), 0);
        }
        for (int i = n - hidden; i < n; ++i) s.stars[i].hidden = 1;
        s.nhide = hidden;
        return s;
    }

    sky::TestImage image_{1000, 700, ImageType::Still};
    CurrentImage current_{&image_};
};

TEST_F(ReductionReportTest, ReportsEveryStarAndLeavesTheSessionAsItWas) {
    SessionData s = Field(6, 1);
    const ReductionReport r = ReduceStars(s);
    ASSERT_TRUE(r.solved);
    ASSERT_EQ(r.stars.size(), 6u);
    EXPECT_GT(r.rms_ra, 0.0f);
    EXPECT_EQ(r.stars[5].dra, 0.0f);  // hidden: no residual
    EXPECT_NE(r.stars[0].dra, 0.0f);
    // Hiding the one bad star leaves an exact field.
    ASSERT_TRUE(r.stars[0].sd_reversed);
    EXPECT_LT(*r.stars[0].sd_reversed, 1e-4f);
    EXPECT_EQ(s.nhide, 1u);
    EXPECT_EQ(s.stars[5].hidden, 1);

    // Three visible: no residuals, and no reversed st.dev where it would
    // leave two; with the hidden star in use there would be four.
    SessionData four = Field(4, 1);
    const ReductionReport few = ReduceStars(four);
    EXPECT_FALSE(few.solved);
    EXPECT_TRUE(few.failure.empty());
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(few.stars[i].sd_reversed) << i;
    EXPECT_TRUE(few.stars[3].sd_reversed);

    // Every star on one line: no solution, reported rather than thrown.
    SessionData line;
    for (int i = 0; i < 5; ++i) {
        CatStar c;
        c.ra = c.raobs = 3.0f + 0.02f * i;
        c.de = c.deobs = 45.0f + 0.3f * i;
        line.AddStar(Star(c, 1.0f + i, 1.0f + 0.5f * i), 0);
    }
    ReductionReport r_line;
    ASSERT_NO_THROW(r_line = ReduceStars(line));
    EXPECT_FALSE(r_line.solved);
    EXPECT_FALSE(r_line.failure.empty());
    for (const StarReduction& row : r_line.stars) EXPECT_FALSE(row.sd_reversed);
}

}  // namespace
