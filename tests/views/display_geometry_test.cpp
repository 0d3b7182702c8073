// The image view's geometry, markers and picks.
#include <cmath>
#include <gtest/gtest.h>

#include "session/session_data.h"
#include "shell/display_geometry.h"
#include "shell/display_markers.h"
#include "shell/display_pick.h"
#include "shell/popup_placement.h"
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

// The window tests follow markers and clicks through fit mode, original
// pixels, scrolling and zoom; here the roundings at the edges of each.
TEST(DisplayGeometry, FitModeRoundsMarkersHalfUpAndClicksDownAndAnEmptyImageDividesByNothing) {
    const DisplayGeometry g = Geometry(2000, 1000, 998, 500, kFitMode);
    EXPECT_EQ(g.AreaWidth(), 1000);  // rounded up to a multiple of 4
    // Row 999 is the bottom row: plate y 0, screen row 499.5 rounds to 500.
    EXPECT_EQ(g.MMtoDC(0, 0), (ScreenPoint{0, 500}));
    EXPECT_EQ(g.MMtoDC(PlateX(3), PlateY(2, 1000)).x, 2);  // column 1.5
    EXPECT_EQ(Geometry(1000, 1000, 300, 300, kFitMode).ClickToPixel(1, 2), (ImagePixel{3, 6}));  // 3.33, 6.67
    const DisplayGeometry empty = Geometry(0, 0, 0, 0, kFitMode);
    EXPECT_TRUE(empty.OutsideImage(empty.ClickToPixel(5, 5)));
    EXPECT_EQ(empty.MMtoDC(0, 0), (ScreenPoint{0, 0}));
    EXPECT_GT(empty.PickThreshold(), 0.0f);
}

TEST(DisplayGeometry, MarkersShowUpToThreePixelsOutsideTheScrolledArea) {
    const DisplayGeometry g = Geometry(3000, 2000, 1000, 500, kPixelMode);
    for (const auto& [p, visible] : {std::pair{ScreenPoint{-3, 0}, true}, {ScreenPoint{-4, 0}, false},
                                     {ScreenPoint{1002, 502}, true}, {ScreenPoint{1003, 0}, false}})
        EXPECT_EQ(g.MarkerVisible(p), visible) << p.x << "," << p.y;
    const DisplayGeometry scrolled = Geometry(3000, 2000, 1000, 500, kPixelMode, 1, 1);
    EXPECT_FALSE(scrolled.MarkerVisible({12, 100}));
    EXPECT_TRUE(scrolled.MarkerVisible({1018, 518}));
}

TEST(DisplayGeometry, ScrollRangesAllowForTheScrollBarThatComesWithThem) {
    const DisplayGeometry g = Geometry(3000, 2000, 998, 500, kPixelMode);
    EXPECT_EQ(ScrollRanges(g, 0, 0), (ScrollerSetup{127, 95, 31, 15}));
    EXPECT_EQ(ScrollRanges(g, 127, 95), (ScrollerSetup{126, 94, 31, 15}));
    // Only the direction in which the image is larger scrolls.
    EXPECT_EQ(ScrollRanges(Geometry(500, 2000, 998, 500, kPixelMode), 0, 0), (ScrollerSetup{0, 95, 31, 15}));
    EXPECT_EQ(ScrollRanges(Geometry(3000, 2000, 998, 500, kFitMode), 0, 0), (ScrollerSetup{0, 0, 31, 15}));
}

// The window tests zoom and pan with the wheel and the mouse; here the
// lower end reached from original pixels and a new picture resetting it.
TEST(DisplayGeometry, ZoomingOutOfOriginalPixelsEndsAtHalfThenFitAndANewPictureIsNotZoomed) {
    DisplayGeometry g = Geometry(1200, 800, 600, 381, kPixelMode);
    for (int i = 0; i < 2; ++i) EXPECT_EQ(g.Zoom(250, 140, -1), ZoomStep::Changed);
    EXPECT_DOUBLE_EQ(g.Scale(), 0.5);  // the fit scale is 381 / 800
    EXPECT_EQ(g.Zoom(250, 140, -1), ZoomStep::BackToFit);
    g.Zoom(250, 140, 1);
    g.SetImageSize(1000, 1000);
    EXPECT_FALSE(g.Zoomed());
}

// The window tests check each marker's colour; here a maximum label padded
// as a session file gives it back, and markers outside the area left out.
TEST(DisplayMarkers, APaddedMaximumLabelIsStillAMaximumAndMarkersOutsideTheAreaAreLeftOut) {
    SessionData s;
    AddStarAt(s, 100, 100, 2000);
    AddStarAt(s, 2500, 100, 2000);  // outside the area
    AddPointAt(s, 450, 100, 2000, "Maximum        ");
    AddPointAt(s, 480, 100, 2000, "Maximum2");
    const std::vector<Marker> m = DisplayMarkers(s, Geometry(3000, 2000, 1000, 500, kPixelMode), -1);
    ASSERT_EQ(m.size(), 3u);
    EXPECT_EQ(m[0].circle, (EdgeRect{97, 97, 103, 103}));
    EXPECT_EQ(m[1].fill, kMaximumColour);
    EXPECT_EQ(m[2].index, 3);
    EXPECT_EQ(m[2].fill, kMeteorColour);
}

constexpr int kH = 1000;

// Fit mode: 2 image pixels per screen pixel.
DisplayGeometry View(int mode) { return Geometry(2000, kH, 1000, 500, mode); }

TEST(DisplayPick, NearestMeasurementWithinTenScreenPixelsWinsAndTiesGoToTheEarlierStarsFirst) {
    SessionData s;
    AddStarAt(s, 100, 100, kH);
    AddStarAt(s, 100, 100, kH);  // the same place: the first stays
    AddPointAt(s, 100, 100, kH);
    AddPointAt(s, 104, 100, kH);
    const DisplayGeometry g = View(kPixelMode);
    EXPECT_EQ(FindNearestMeasurement(s, g, {101, 100}).index, 0);
    EXPECT_EQ(FindNearestMeasurement(s, g, {103, 100}).index, 3);
    EXPECT_NEAR(FindNearestMeasurement(s, g, {103, 104}).distance, 4.123f, 1e-3f);
    EXPECT_EQ(FindNearestMeasurement(SessionData(), g, {52, 50}).index, -1);

    SessionData one;
    AddStarAt(one, 100, 100, kH);
    EXPECT_EQ(ChooseDisplayContext(one, g, 109, 100, false).iselect, 0);
    EXPECT_EQ(ChooseDisplayContext(one, g, 111, 100, false).iselect, -1);
    EXPECT_EQ(ChooseDisplayContext(one, View(kFitMode), 59, 50, false).iselect, 0);  // pixel (118, 100)
    EXPECT_EQ(ChooseDisplayContext(one, View(kFitMode), 61, 50, false).iselect, -1);
}

// The window tests open the star, point and maximum menus of a photograph;
// here the hidden star's and a video's, which has no maximum.
TEST(DisplayPick, AHiddenStarAndAVideosPointsHaveTheirOwnMenus) {
    SessionData s;
    AddStarAt(s, 200, 100, kH, true);
    AddPointAt(s, 400, 100, kH, "Maximum        ");
    EXPECT_EQ(ChooseDisplayContext(s, View(kPixelMode), 200, 100, false).menu, PopupMenu::Displayhstar);
    EXPECT_EQ(ChooseDisplayContext(s, View(kPixelMode), 400, 100, false).menu, PopupMenu::Meteorumax);
    const DisplayContext video = ChooseDisplayContext(s, View(kPixelMode), 400, 100, true);
    EXPECT_EQ(video.menu, PopupMenu::Meteor);
    EXPECT_EQ(video.iselect, 1);
    EXPECT_FALSE(video.star_picked);
}

TEST(PopupPlacement, MenusOpenBesideTheClickAndTurnLeftNearTheRightEdge) {
    EXPECT_EQ(PlacePopup(100, 50, 1000), (PopupPlacement{{110, 40}, false, {90, 40, 110, 60}}));
    EXPECT_FALSE(PlacePopup(830, 50, 1000).right_aligned);
    EXPECT_EQ(PlacePopup(831, 50, 1000), (PopupPlacement{{821, 40}, true, {821, 40, 841, 60}}));
}

}  // namespace
