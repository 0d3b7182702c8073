#include "shell/pane_layout.h"

#include <gtest/gtest.h>

namespace {

// The window tests read the panes and the buttons at 525 and 1025 pixels;
// here the step's first increment and a window lower than the strip.
TEST(PaneLayout, StatusButtonsMoveByAColumnStepAndALowWindowLeavesEmptyPanes) {
    EXPECT_EQ(StatusColumnStep(529), 0);
    EXPECT_EQ(StatusColumnStep(530), 1);
    EXPECT_EQ(LayoutPanes(530, 400).minus, (CanvasRect{293, 2, 23, 16}));
    EXPECT_EQ(LayoutPanes(300, 400).plus, (CanvasRect{313, 2, 23, 16}));
    const PaneLayout l = LayoutPanes(200, 10);
    EXPECT_EQ(l.display.h, 0);
    EXPECT_EQ(l.status.y, -9);
    EXPECT_EQ(LayoutPanes(-5, 0).display.w, 0);
}

}  // namespace
