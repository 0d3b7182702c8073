// The analysis view's rows, columns, scroll bar and hits, on hand-made
// numbers; the window tests compare a shipped example with velkarn-cli.
#include "shell/analysis_table.h"

#include <gtest/gtest.h>

#include "session/reduction_report.h"
#include "session/session_data.h"
#include "view_test_support.h"

using namespace views_test;

namespace {

class AnalysisRows : public ::testing::Test {
protected:
    // Hand-made numbers: the row text is all that is tested here.
    void SetUp() override {
        AddStarAt(s_, 100, 100, 1000, false, "Alp Per");
        AddStarAt(s_, 200, 100, 1000, true, "Bet Per");
        AddStarAt(s_, 300, 100, 1000, false, "Gam Per");
        r_.solved = true;
        r_.rms_ra = 36.0f / 3600;
        r_.rms_de = 83.0f / 3600;
        r_.stars.resize(3);
        r_.stars[0] = {36.0f / 3600, -83.0f / 3600, 20.0f / 3600, 100.0f};
        r_.stars[1] = {0, 0, 12.0f / 3600, 66.6667f};
        r_.stars[2] = {1.5f, 0, std::nullopt, 0.0f};
    }
    SessionData s_;
    ReductionReport r_;
};

TEST_F(AnalysisRows, VisibleHiddenAndUncomputableRowsHaveTheirColumns) {
    const AnalysisTable t = MakeAnalysisTable(s_, r_);
    ASSERT_EQ(t.rows.size(), 3u);
    EXPECT_EQ(t.rows[0], s_.Analysis(0) + "\t  36.\t-123.\t  20.\t100%\t\t!");
    EXPECT_EQ(t.rows[1], s_.Analysis(1) + "\t\t\t  12.\t 67%\t\t!");
    EXPECT_EQ(t.rows[2], s_.Analysis(2) + "\t9999.\t   0.\t-\t  0%\t\t!");
    EXPECT_EQ(t.footer, "\t  36.\t 123.");
    EXPECT_EQ(t.rows[0].substr(0, 9), "  Alp Per");
}

TEST_F(AnalysisRows, BelowFourVisibleStarsTheFooterShowsZero) {
    ReductionReport none;
    none.stars.resize(3);
    const AnalysisTable t = MakeAnalysisTable(s_, none);
    EXPECT_EQ(t.footer, "\t   0.\t   0.");
    EXPECT_NE(t.rows[0].find("\t   0.\t   0.\t-\t  0%"), std::string::npos) << t.rows[0];
}

TEST(AnalysisTabStops, ExtraWidthSpreadsOverTheColumnsInFixedRatios) {
    const AnalysisTabs narrow = AnalysisTabStops(600, 16, false);
    EXPECT_EQ(narrow.stops, (std::array<int, 10>{120, 200, 270, 335, 400, 450, 500, 550, 600, 600}));
    EXPECT_EQ(narrow.oc_left, 400);
    // 635 + 11 * 10 pixels: e = 10.
    const AnalysisTabs wide = AnalysisTabStops(745, 16, false);
    EXPECT_EQ(wide.stops, (std::array<int, 10>{130, 220, 300, 375, 450, 520, 580, 650, 710, 745}));
    // The scroll bar's width is taken off first, but the last stop is the
    // client width.
    const AnalysisTabs scrolled = AnalysisTabStops(761, 16, true);
    EXPECT_EQ(scrolled.stops[0], 130);
    EXPECT_EQ(scrolled.stops[9], 761);
    EXPECT_EQ(scrolled.clip_width, 745);
    EXPECT_EQ(AnalysisTabStops(646, 16, false).stops[0], 121);  // 11 / 11
    EXPECT_EQ(AnalysisTabStops(645, 16, false).stops[0], 120);
}

// The window test reads the bar's place, range and page as the rows stop
// fitting and fit again; here the ends of its range.
TEST(AnalysisScrollBar, HoldsItsPositionInRangeAndFitsNoRowBelowTheHeaders) {
    // (300 - 40 - 2 * 20) / 20 = 11 rows fit.
    const AnalysisScroll over = UpdateScrollBar(700, 300, 20, 16, 19, 5);
    EXPECT_EQ(over.bar, (CanvasRect{684, 40, 16, 220}));
    EXPECT_EQ(over.end_row, 16);
    // A position beyond the range (the pane grew) is held to its end.
    EXPECT_EQ(UpdateScrollBar(700, 300, 20, 16, 19, 30).first_row, 8);
    const AnalysisScroll tiny = UpdateScrollBar(700, 50, 20, 16, 3, 0);
    EXPECT_EQ(tiny.fit, 0);
    EXPECT_EQ(tiny.bar.h, 0);
    EXPECT_EQ(tiny.end_row - tiny.first_row, 0);
}

TEST(TabbedText, SegmentsEndAtTheirStopsAndTextBeyondTheLastStopIsDropped) {
    const int stops[] = {100, 200, 300};
    const std::vector<TabbedSegment> s = TabbedSegments("\ta\t\tc\td\te", 5, stops, 3);
    EXPECT_EQ(s, (std::vector<TabbedSegment>{{"a", 100}, {"c", 300}}));
    EXPECT_EQ(TabbedSegments("x\ty", 5, stops, 3), (std::vector<TabbedSegment>{{"x", 5}, {"y", 100}}));
}

TEST_F(AnalysisRows, PaintShowsHeadersRowsAndFooterWithTheirInks) {
    const AnalysisTable t = MakeAnalysisTable(s_, r_);
    const AnalysisScroll scroll = UpdateScrollBar(700, 400, 20, 16, 3, 0);
    const AnalysisTabs tabs = AnalysisTabStops(700, 16, scroll.shown);
    const std::vector<AnalysisText> items = AnalysisPaintItems(t, s_, scroll, tabs, 20, 2);
    auto find = [&](const std::string& text, int y) {
        for (const AnalysisText& a : items) {
            if (a.text == text && a.y == y) return a;
        }
        ADD_FAILURE() << text << " at " << y;
        return AnalysisText{};
    };
    EXPECT_EQ(find("individual O-C", 3).x, tabs.stops[6]);
    EXPECT_EQ(find("overall", 3).x, tabs.stops[7]);
    EXPECT_EQ(find("Mv", 23).x, tabs.stops[0]);
    EXPECT_EQ(find("surr.", 23).x, tabs.stops[8]);
    EXPECT_EQ(find("Star", 23).x, 65);
    EXPECT_EQ(find("  Alp Per", 40).x, 82);
    EXPECT_EQ(find("  Alp Per", 40).ink, AnalysisInk::Normal);
    EXPECT_EQ(find("-123.", 40).x, tabs.stops[6]);
    EXPECT_EQ(find("  Bet Per", 60).ink, AnalysisInk::Hidden);
    EXPECT_EQ(find("  Gam Per", 80).ink, AnalysisInk::Selected);
    EXPECT_EQ(find("9999.", 80).ink, AnalysisInk::Selected);
    // The footer leaves one line free after the last row.
    EXPECT_EQ(find("  36.", 120).x, tabs.stops[5]);
    EXPECT_EQ(find(" 123.", 120).x, tabs.stops[6]);
    EXPECT_EQ(find("individual O-C st.dev:", 120).x, tabs.oc_left);
    for (const AnalysisText& a : items) EXPECT_NE(a.text, "!");
}

TEST_F(AnalysisRows, OnlyTheRowsInTheScrolledWindowAreDrawn) {
    const AnalysisTable t = MakeAnalysisTable(s_, r_);
    // One row fits: (101 - 40 - 40) / 20.
    const AnalysisScroll scroll = UpdateScrollBar(700, 101, 20, 16, 3, 1);
    ASSERT_TRUE(scroll.shown);
    const std::vector<AnalysisText> items =
        AnalysisPaintItems(t, s_, scroll, AnalysisTabStops(700, 16, true), 20, -1);
    int names = 0;
    for (const AnalysisText& a : items) {
        if (a.x == kAnalysisNameRight) {
            ++names;
            EXPECT_EQ(a.text, "  Bet Per");
            EXPECT_EQ(a.y, 40);
        }
    }
    EXPECT_EQ(names, 1);
}

// The window tests open the menus of the rows and of the headers.
TEST_F(AnalysisRows, ARightClickPicksTheRowUnderIt) {
    const AnalysisScroll scroll = UpdateScrollBar(700, 400, 20, 16, 3, 0);
    EXPECT_EQ(AnalysisRowAt(39, 20, scroll), -1);
    EXPECT_EQ(AnalysisRowAt(40, 20, scroll), 0);
    EXPECT_EQ(AnalysisRowAt(99, 20, scroll), 2);
    EXPECT_EQ(AnalysisRowAt(100, 20, scroll), -1);
    // Scrolled by one row, the first row shown is star 1.
    const AnalysisScroll scrolled = UpdateScrollBar(700, 101, 20, 16, 3, 1);
    EXPECT_EQ(ChooseAnalysisContext(s_, 45, 20, scrolled).iselect, 1);
    EXPECT_EQ(AnalysisRowBand(1, 20, scrolled, 700), (CanvasRect{0, 40, 700, 20}));
}

}  // namespace
