#include "shell/status_text.h"

#include <gtest/gtest.h>

#include "session/session_data.h"
#include "shell/state_flags.h"

namespace {

SessionData CountedSession() {
    SessionData s;
    s.nstar = 12;
    s.nhide = 3;
    s.nmet = 7;
    s.nreplay = 2;
    s.order = 2;
    s.sd = 0.01f;  // 36 arcseconds
    s.surround = 85.7f;
    return s;
}

// The window tests read where the texts stand at 525 and 1025 pixels.
TEST(StatusStrip, ShowsTheCountsWithTheMeasuringModesOneHighlighted) {
    const SessionData s = CountedSession();
    const std::vector<StatusItem> expected = {
        {10, 2, "stars  9", true},   {80, 2, "breaks  7", false},          {160, 2, "replays 2", false},
        {240, 2, "order 2", false}, {358, 2, "st.dev  0'36\"", false}, {457, 2, " 86%", false},
    };
    EXPECT_EQ(StatusItems(s, true, kStarMode, 300), expected);
    for (const auto& [mode, lit] : {std::pair{kMeteorMode, 1}, std::pair{kReplayMode, 2}}) {
        const std::vector<StatusItem> items = StatusItems(s, true, mode, 1025);
        for (int i = 0; i < 6; ++i) EXPECT_EQ(items[i].highlighted, i == lit) << items[i].text;
    }
}

TEST(StatusStrip, ShowsNothingWithoutAnImageAndNoSurroundWithoutMeteorPoints) {
    SessionData s = CountedSession();
    EXPECT_TRUE(StatusItems(s, false, kStarMode, 800).empty());
    s.nmet = 0;
    const std::vector<StatusItem> items = StatusItems(s, true, kStarMode, 800);
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items.back().text.substr(0, 6), "st.dev");
}

TEST(StatusStrip, StandardDeviationRoundsToWholeSecondsAndIsCapped) {
    EXPECT_EQ(StDevText(0.0f), "st.dev  0'00\"");
    EXPECT_EQ(StDevText(0.01f), "st.dev  0'36\"");
    EXPECT_EQ(StDevText(83.4f / 3600), "st.dev  1'23\"");
    EXPECT_EQ(StDevText(59.6f / 3600), "st.dev  1'00\"");  // seconds carry into minutes
    // A degree or more: 99 minutes and a seconds value of 98.5, which the
    // format rounds to even.
    EXPECT_EQ(StDevText(1.0f), "st.dev 99'98\"");
    EXPECT_EQ(StDevText(30.0f), "st.dev 99'98\"");
}

TEST(StatusStrip, ProgressBarCoversItsShareAndTheHintEndsTenPixelsFromTheEdge) {
    EXPECT_EQ(ProgressLayout(800, 37), (ProgressPaint{296, 790, 2, "ESC to abort"}));
    EXPECT_EQ(ProgressLayout(333, 100).bar_right, 333);
    EXPECT_EQ(ProgressLayout(333, 1).bar_right, 3);  // truncated
    EXPECT_EQ(ProgressLayout(800, -4).bar_right, 0);
    EXPECT_EQ(ProgressLayout(800, 250).bar_right, 800);
}

}  // namespace
