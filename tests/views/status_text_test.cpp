// The status strip's texts and the panes round it.
#include <gtest/gtest.h>

#include "session/session_data.h"
#include "shell/pane_layout.h"
#include "shell/state_flags.h"
#include "shell/status_text.h"

namespace {

// The window tests read where the texts stand and which is highlighted.
TEST(StatusStrip, CountsTheVisibleStarsAndShowsNoSurroundWithoutMeteorPointsNorAnythingWithoutAnImage) {
    SessionData s;
    s.nstar = 12;
    s.nhide = 3;
    s.nmet = 7;
    s.nreplay = 2;
    s.order = 2;
    s.sd = 0.01f;  // 36 arcseconds
    s.surround = 85.7f;
    const std::vector<StatusItem> expected = {
        {10, 2, "stars  9", true},  {80, 2, "breaks  7", false},       {160, 2, "replays 2", false},
        {240, 2, "order 2", false}, {358, 2, "st.dev  0'36\"", false}, {457, 2, " 86%", false},
    };
    EXPECT_EQ(StatusItems(s, true, kStarMode, 300), expected);
    EXPECT_TRUE(StatusItems(s, false, kStarMode, 800).empty());
    s.nmet = 0;
    EXPECT_EQ(StatusItems(s, true, kStarMode, 800).size(), 5u);
}

TEST(StatusStrip, StandardDeviationRoundsToWholeSecondsAndIsCapped) {
    EXPECT_EQ(StDevText(83.4f / 3600), "st.dev  1'23\"");
    EXPECT_EQ(StDevText(59.6f / 3600), "st.dev  1'00\"");  // seconds carry into minutes
    // A degree or more: 99 minutes and a seconds value of 98.5, which the
    // format rounds to even.
    EXPECT_EQ(StDevText(30.0f), "st.dev 99'98\"");
}

// The window tests read the panes and the buttons at 525 and 1025 pixels;
// here the step's first increment and a window lower than the strip.
TEST(PaneLayout, StatusButtonsMoveByAColumnStepAndALowWindowLeavesEmptyPanes) {
    EXPECT_EQ(StatusColumnStep(529), 0);
    EXPECT_EQ(StatusColumnStep(530), 1);
    const PaneLayout l = LayoutPanes(200, 10);
    EXPECT_EQ(l.display.h, 0);
    EXPECT_EQ(l.status.y, -9);
    EXPECT_EQ(LayoutPanes(-5, 0).display.w, 0);
}

}  // namespace
