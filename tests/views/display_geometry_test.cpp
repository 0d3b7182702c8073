// The image view's geometry, markers and picks.
#include <gtest/gtest.h>

#include "session/session_data.h"
#include "shell/display_geometry.h"
#include "shell/display_markers.h"
#include "shell/display_pick.h"
#include "view_test_support.h"

using namespace views_test;

namespace {

DisplayGeometry Geometry(int w, int h, int client_w, int client_h, int mode) {
    DisplayGeometry g;
    g.SetImageSize(w, h);
    g.SetClientArea(client_w, client_h);
    g.SetMode(mode);
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

    SessionData one;
    AddStarAt(one, 100, 100, kH);
    EXPECT_EQ(ChooseDisplayContext(one, g, 111, 100, false).iselect, -1);
    EXPECT_EQ(ChooseDisplayContext(one, View(kFitMode), 59, 50, false).iselect, 0);  // pixel (118, 100)
    EXPECT_EQ(ChooseDisplayContext(one, View(kFitMode), 61, 50, false).iselect, -1);
}

}  // namespace
