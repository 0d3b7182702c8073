#include "shell/display_geometry.h"

#include <gtest/gtest.h>

#include <cmath>

#include "session/session_data.h"
#include "shell/display_markers.h"
#include "view_test_support.h"

using namespace views_test;

namespace {

DisplayGeometry Geometry(int w, int h, int client_w, int client_h, int mode, long xpos = 0, long ypos = 0) {
    DisplayGeometry g;
    g.SetImageSize(w, h);
    g.SetClientArea(client_w, client_h);
    g.SetMode(mode);
    g.SetScrollPosition(xpos, ypos);
    return g;
}

TEST(DisplayGeometry, FitModeStretchesTheImageOverTheArea) {
    // An image twice the size of the area.
    const DisplayGeometry g = Geometry(2000, 1000, 998, 500, kFitMode);
    EXPECT_EQ(g.AreaWidth(), 1000);  // rounded up to a multiple of 4
    EXPECT_EQ(g.ImageRect(), (CanvasRect{0, 0, 1000, 500}));
    EXPECT_EQ(g.MMtoDC(PlateX(1000), PlateY(500, 1000)), (ScreenPoint{500, 250}));
    EXPECT_EQ(g.MMtoDC(PlateX(0), PlateY(0, 1000)), (ScreenPoint{0, 0}));
    // Row 999 is the bottom row: plate y 0, screen row 499.5 rounds to 500.
    EXPECT_EQ(g.MMtoDC(0, 0), (ScreenPoint{0, 500}));
    // Halves round up: column 3 of the image is screen column 1.5.
    EXPECT_EQ(g.MMtoDC(PlateX(3), PlateY(2, 1000)).x, 2);
    EXPECT_EQ(g.PickThreshold(), 20.0f);  // 10 screen pixels
}

TEST(DisplayGeometry, OriginalPixelsCentreASmallImageInTheArea) {
    const DisplayGeometry g = Geometry(101, 51, 200, 100, kPixelMode);
    EXPECT_EQ(g.OffsetX(), 49);
    EXPECT_EQ(g.OffsetY(), 24);
    EXPECT_EQ(g.ImageRect(), (CanvasRect{49, 24, 101, 51}));
    EXPECT_EQ(g.MMtoDC(0, 0), (ScreenPoint{49, 74}));
    EXPECT_EQ(g.MMtoDC(PlateX(100), PlateY(0, 51)), (ScreenPoint{149, 24}));
    EXPECT_EQ(g.PickThreshold(), 10.0f);
    // A large image is not centred: it scrolls.
    const DisplayGeometry big = Geometry(3000, 2000, 1000, 500, kPixelMode, 3, 2);
    EXPECT_EQ(big.OffsetX(), 0);
    EXPECT_EQ(big.MMtoDC(PlateX(70), PlateY(40, 2000)), (ScreenPoint{70, 40}));
    EXPECT_EQ(big.ScrollOffset(), (ScreenPoint{-48, -32}));
}

TEST(DisplayGeometry, ClicksBecomeImagePixelsByTruncation) {
    const DisplayGeometry fit = Geometry(2000, 1000, 998, 500, kFitMode);
    EXPECT_EQ(fit.ClickToPixel(999, 499), (ImagePixel{1998, 998}));
    EXPECT_EQ(fit.ClickToPixel(1, 1), (ImagePixel{2, 2}));
    const DisplayGeometry third = Geometry(1000, 1000, 300, 300, kFitMode);
    EXPECT_EQ(third.ClickToPixel(1, 2), (ImagePixel{3, 6}));  // 3.33 and 6.67

    const DisplayGeometry small = Geometry(101, 51, 200, 100, kPixelMode);
    EXPECT_EQ(small.ClickToPixel(49, 24), (ImagePixel{0, 0}));
    EXPECT_EQ(small.ClickToPixel(149, 74), (ImagePixel{100, 50}));
    EXPECT_FALSE(small.OutsideImage(small.ClickToPixel(149, 74)));
    for (const auto& [x, y] : {std::pair{48, 30}, {60, 23}, {150, 30}, {60, 75}})  // the border round the image
        EXPECT_TRUE(small.OutsideImage(small.ClickToPixel(x, y))) << x << "," << y;
    const DisplayGeometry scrolled = Geometry(3000, 2000, 1000, 500, kPixelMode, 3, 2);
    EXPECT_EQ(scrolled.ClickToPixel(10, 10), (ImagePixel{58, 42}));
}

TEST(DisplayGeometry, AnEmptyImageOrPaneDividesByNothing) {
    DisplayGeometry g = Geometry(0, 0, 0, 0, kFitMode);
    EXPECT_EQ(g.ImageWidth(), 1);
    EXPECT_EQ(g.ImageHeight(), 1);
    EXPECT_TRUE(g.OutsideImage(g.ClickToPixel(5, 5)));
    EXPECT_EQ(g.MMtoDC(0, 0), (ScreenPoint{0, 0}));
    EXPECT_GT(g.PickThreshold(), 0.0f);
}

TEST(DisplayGeometry, MarkersShowUpToThreePixelsOutsideTheArea) {
    const DisplayGeometry g = Geometry(3000, 2000, 1000, 500, kPixelMode);
    for (const auto& [p, visible] : {std::pair{ScreenPoint{-3, 0}, true}, {ScreenPoint{-4, 0}, false},
                                     {ScreenPoint{1002, 502}, true}, {ScreenPoint{1003, 0}, false},
                                     {ScreenPoint{0, 503}, false}})
        EXPECT_EQ(g.MarkerVisible(p), visible) << p.x << "," << p.y;
    // The test is made after the scroll offset.
    const DisplayGeometry scrolled = Geometry(3000, 2000, 1000, 500, kPixelMode, 1, 1);
    EXPECT_FALSE(scrolled.MarkerVisible({12, 100}));
    EXPECT_TRUE(scrolled.MarkerVisible({13, 13}));
    EXPECT_TRUE(scrolled.MarkerVisible({1018, 518}));
}

TEST(DisplayGeometry, ScrollRangesAllowForTheScrollBarThatComesWithThem) {
    const DisplayGeometry g = Geometry(3000, 2000, 998, 500, kPixelMode);
    EXPECT_EQ(ScrollRanges(g, 0, 0), (ScrollerSetup{127, 95, 31, 15}));
    EXPECT_EQ(ScrollRanges(g, 127, 95), (ScrollerSetup{126, 94, 31, 15}));
    // Only the direction in which the image is larger scrolls.
    const DisplayGeometry tall = Geometry(500, 2000, 998, 500, kPixelMode);
    EXPECT_EQ(ScrollRanges(tall, 0, 0), (ScrollerSetup{0, 95, 31, 15}));
    EXPECT_EQ(ScrollRanges(Geometry(998, 500, 998, 500, kPixelMode), 0, 0), (ScrollerSetup{0, 0, 31, 15}));
    EXPECT_EQ(ScrollRanges(Geometry(3000, 2000, 998, 500, kFitMode), 0, 0), (ScrollerSetup{0, 0, 31, 15}));
}

// A zoom step keeps the image point under the pointer where it is; the
// pick, the click and the markers follow the scale; the unzoomed modes come
// back exactly.
TEST(DisplayGeometry, ZoomStepsBySqrtTwoAboutThePointerUpToEightTimes) {
    DisplayGeometry g = Geometry(1200, 800, 600, 381, kPixelMode);
    const DisplayGeometry plain = g;
    const ImagePixel under = g.ClickToPixel(250, 140);
    ASSERT_EQ(under, (ImagePixel{250, 140}));
    EXPECT_EQ(g.Zoom(250, 140, 1), ZoomStep::Changed);
    EXPECT_NEAR(g.Scale(), std::sqrt(2.0), 1e-12);
    EXPECT_EQ(g.Zoom(250, 140, 1), ZoomStep::Changed);
    EXPECT_DOUBLE_EQ(g.Scale(), 2.0);
    EXPECT_EQ(g.ImageRect().w, 2400);
    EXPECT_EQ(g.PickThreshold(), 5.0f);
    // The marker of a pixel lies on the pane pixels that show it.
    const ScreenPoint m = g.MMtoDC(PlateX(250), PlateY(140, 800));
    EXPECT_EQ(g.ClickToPixel(m.x, m.y), under);
    EXPECT_NEAR(g.ClickToImage(m.x, m.y).column, 250.0f, 0.5f);
    EXPECT_EQ(g.ScrollOffset(), (ScreenPoint{0, 0}));
    EXPECT_EQ(ScrollRanges(g, 0, 0).xrange, 0);

    for (int i = 0; i < 4; ++i) EXPECT_EQ(g.Zoom(250, 140, 1), ZoomStep::Changed);
    EXPECT_DOUBLE_EQ(g.Scale(), 8.0);
    EXPECT_EQ(g.Zoom(250, 140, 1), ZoomStep::Unchanged);
    EXPECT_EQ(g.PickThreshold(), 1.25f);

    // Out again, down to 0.5: the fit scale is 381 / 800.
    for (int i = 0; i < 8; ++i) EXPECT_EQ(g.Zoom(250, 140, -1), ZoomStep::Changed);
    EXPECT_DOUBLE_EQ(g.Scale(), 0.5);
    EXPECT_EQ(g.Zoom(250, 140, -1), ZoomStep::BackToFit);
    g.ResetZoom();
    EXPECT_EQ(g.ImageRect(), plain.ImageRect());
    EXPECT_EQ(g.MMtoDC(PlateX(100), PlateY(50, 800)), plain.MMtoDC(PlateX(100), PlateY(50, 800)));
    EXPECT_EQ(g.PickThreshold(), 10.0f);

    // Fit mode is the lower end: nothing further out.
    DisplayGeometry fit = Geometry(2000, 1000, 998, 500, kFitMode);
    EXPECT_EQ(fit.Zoom(10, 10, -1), ZoomStep::Unchanged);
    EXPECT_EQ(fit.Zoom(500, 250, 1), ZoomStep::Changed);
    EXPECT_NEAR(fit.Scale(), std::sqrt(2.0) / 2, 1e-12);
    EXPECT_EQ(fit.Zoom(500, 250, -1), ZoomStep::BackToFit);
    // Another picture is never shown at the old zoom.
    fit.SetImageSize(1000, 1000);
    EXPECT_FALSE(fit.Zoomed());
}

TEST(DisplayGeometry, PanningKeepsALargerPictureOverThePaneAndASmallerOneInside) {
    DisplayGeometry g = Geometry(300, 200, 600, 381, kPixelMode);
    g.Zoom(300, 190, 1);
    g.Zoom(300, 190, 1);  // 600 x 400 over 600 x 381
    g.Pan(-50, -50);
    EXPECT_EQ(g.ImageRect(), (CanvasRect{0, -19, 600, 400}));
    g.Pan(0, 500);
    EXPECT_EQ(g.ImageRect().y, 0);
    const ImagePixel before = g.ClickToPixel(300, 100);
    g.Pan(0, -8);
    EXPECT_EQ(g.ClickToPixel(300, 100).row, before.row + 4);
}

TEST(DisplayMarkers, CentreMarkStandsAtTheImageCentre) {
    const CentreMark m = PlateCentreMark(Geometry(1000, 500, 1000, 500, kPixelMode));
    EXPECT_EQ(m.vertical, (EdgeRect{499, 246, 502, 253}));
    EXPECT_EQ(m.horizontal, (EdgeRect{497, 248, 504, 251}));
    EXPECT_EQ(m.line_from, (ScreenPoint{500, 247}));
    EXPECT_EQ(m.line_to, (ScreenPoint{500, 252}));
}

TEST(DisplayMarkers, EachKindHasItsColourAndTheSelectionIsRed) {
    SessionData s;
    AddStarAt(s, 100, 100, 500);
    AddStarAt(s, 200, 100, 500, true);
    AddPointAt(s, 300, 100, 500);
    AddPointAt(s, 400, 100, 500, "Maximum");
    AddPointAt(s, 450, 100, 500, "Maximum        ");  // as a session file gives it back
    AddPointAt(s, 480, 100, 500, "Maximum2");
    const DisplayGeometry g = Geometry(1000, 500, 1000, 500, kPixelMode);
    const std::vector<Marker> m = DisplayMarkers(s, g, -1);
    ASSERT_EQ(m.size(), 6u);
    EXPECT_EQ(m[0].fill, kStarColour);
    EXPECT_EQ(m[1].fill, kHiddenStarColour);
    EXPECT_EQ(m[2].fill, kMeteorColour);
    EXPECT_EQ(m[3].fill, kMaximumColour);
    EXPECT_EQ(m[4].fill, kMaximumColour);
    EXPECT_EQ(m[5].fill, kMeteorColour);
    EXPECT_EQ(m[0].circle, (EdgeRect{97, 97, 103, 103}));
    for (int selected : {0, 1, 3}) {
        const std::vector<Marker> sel = DisplayMarkers(s, g, selected);
        for (const Marker& k : sel) EXPECT_EQ(k.fill == kSelectedColour, k.index == selected);
    }
}

TEST(DisplayMarkers, MarkersOutsideTheVisibleAreaAreLeftOut) {
    SessionData s;
    AddStarAt(s, 10, 10, 2000);
    AddStarAt(s, 2500, 10, 2000);
    AddPointAt(s, 1002, 10, 2000);
    const std::vector<Marker> m = DisplayMarkers(s, Geometry(3000, 2000, 1000, 500, kPixelMode), -1);
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[0].index, 0);
    EXPECT_EQ(m[1].index, 2);
}

}  // namespace
