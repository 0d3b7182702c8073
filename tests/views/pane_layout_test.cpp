#include "shell/pane_layout.h"

#include <gtest/gtest.h>


namespace {

TEST(PaneLayout, PanesShareTheAreaAboveTheNineteenPixelStrip) {
    const PaneLayout l = LayoutPanes(800, 600);
    EXPECT_EQ(l.analysis, (CanvasRect{0, 0, 800, 581}));
    EXPECT_EQ(l.display, l.analysis);
    EXPECT_EQ(l.status.y, 581);
    EXPECT_EQ(l.status.w, 800);
}

TEST(PaneLayout, StatusButtonsMoveThreeColumnStepsAsTheWindowWidens) {
    struct Case {
        int width, k, minus_x, plus_x;
    };
    for (const Case c : {Case{300, 0, 290, 313}, Case{525, 0, 290, 313}, Case{529, 0, 290, 313},
                         Case{530, 1, 293, 316}, Case{625, 20, 350, 373}, Case{1025, 100, 590, 613}}) {
        EXPECT_EQ(StatusColumnStep(c.width), c.k) << c.width;
        const PaneLayout l = LayoutPanes(c.width, 400);
        EXPECT_EQ(l.minus, (CanvasRect{c.minus_x, 2, 23, 16})) << c.width;
        EXPECT_EQ(l.plus, (CanvasRect{c.plus_x, 2, 23, 16})) << c.width;
    }
}

TEST(PaneLayout, AWindowLowerThanTheStripLeavesEmptyPanesNotNegativeOnes) {
    const PaneLayout l = LayoutPanes(200, 10);
    EXPECT_EQ(l.display.h, 0);
    EXPECT_EQ(l.status.y, -9);
    EXPECT_EQ(LayoutPanes(-5, 0).display.w, 0);
}

}  // namespace
