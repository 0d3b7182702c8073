#include "shell/display_pick.h"

#include <gtest/gtest.h>

#include "session/session_data.h"
#include "shell/popup_placement.h"
#include "view_test_support.h"

using namespace views_test;

namespace {

constexpr int kH = 1000;

DisplayGeometry Pixels() {
    DisplayGeometry g;
    g.SetImageSize(2000, kH);
    g.SetClientArea(1000, 500);
    g.SetMode(kPixelMode);
    return g;
}

DisplayGeometry Fitted() {
    DisplayGeometry g = Pixels();
    g.SetMode(kFitMode);  // image twice the area: 2 image pixels per screen pixel
    return g;
}

TEST(DisplayPick, NearestMeasurementWinsAndTiesGoToTheEarlierStarsFirst) {
    SessionData s;
    AddStarAt(s, 100, 100, kH);
    AddStarAt(s, 100, 100, kH);  // the same place: the first stays
    AddPointAt(s, 100, 100, kH);
    AddPointAt(s, 104, 100, kH);
    const DisplayGeometry g = Pixels();
    EXPECT_EQ(FindNearestMeasurement(s, g, {101, 100}).index, 0);
    EXPECT_EQ(FindNearestMeasurement(s, g, {103, 100}).index, 3);
    EXPECT_NEAR(FindNearestMeasurement(s, g, {103, 104}).distance, 4.123f, 1e-3f);

    SessionData points;
    AddPointAt(points, 50, 50, kH);
    AddPointAt(points, 50, 50, kH);
    EXPECT_EQ(FindNearestMeasurement(points, g, {52, 50}).index, static_cast<int>(points.nstar));
    EXPECT_EQ(FindNearestMeasurement(SessionData(), g, {52, 50}).index, -1);
}

TEST(DisplayPick, ThePickReachesTenScreenPixelsInEitherMode) {
    SessionData s;
    AddStarAt(s, 100, 100, kH);
    // At original pixels 10 image pixels; the click at 9.9 picks, at 10.1 not.
    DisplayContext near = ChooseDisplayContext(s, Pixels(), 109, 100, false);
    EXPECT_EQ(near.iselect, 0);
    EXPECT_EQ(ChooseDisplayContext(s, Pixels(), 111, 100, false).iselect, -1);
    // In fit mode on an image twice as wide as the pane: 20 image pixels.
    EXPECT_EQ(ChooseDisplayContext(s, Fitted(), 59, 50, false).iselect, 0);  // pixel (118, 100)
    EXPECT_EQ(ChooseDisplayContext(s, Fitted(), 61, 50, false).iselect, -1);  // pixel (122, 100)
    // A click halfway between two stars takes the earlier one.
    AddStarAt(s, 120, 100, kH);
    EXPECT_EQ(ChooseDisplayContext(s, Pixels(), 110, 100, false).iselect, 0);
    EXPECT_EQ(ChooseDisplayContext(s, Pixels(), 112, 100, false).iselect, 1);
}

TEST(DisplayPick, EachKindOfMeasurementOpensItsOwnMenu) {
    SessionData s;
    AddStarAt(s, 100, 100, kH);
    AddStarAt(s, 200, 100, kH, true);
    AddPointAt(s, 300, 100, kH);
    AddPointAt(s, 400, 100, kH, "Maximum        ");
    struct Case {
        int x;
        bool video;
        PopupMenu menu;
        int iselect;
    };
    for (const Case c : {Case{100, false, PopupMenu::Displayustar, 0}, Case{200, false, PopupMenu::Displayhstar, 1},
                         Case{300, false, PopupMenu::Meteormmax, 2}, Case{400, false, PopupMenu::Meteorumax, 3},
                         Case{300, true, PopupMenu::Meteor, 2}, Case{400, true, PopupMenu::Meteor, 3},
                         Case{700, false, PopupMenu::Displayclient, -1}}) {
        const DisplayContext ctx = ChooseDisplayContext(s, Pixels(), c.x, 100, c.video);
        EXPECT_TRUE(ctx.show_menu) << c.x;
        EXPECT_EQ(ctx.menu, c.menu) << c.x;
        EXPECT_EQ(ctx.iselect, c.iselect) << c.x;
        EXPECT_EQ(ctx.star_picked, c.iselect == 0 || c.iselect == 1) << c.x;
        EXPECT_FALSE(ctx.remove_switch) << c.x;
    }
}

TEST(DisplayPick, WithoutStarsAPointMenuCannotSwitchToAnalysisAndAFarClickOpensNone) {
    SessionData s;
    AddPointAt(s, 300, 100, kH);
    const DisplayContext point = ChooseDisplayContext(s, Pixels(), 302, 100, false);
    EXPECT_TRUE(point.show_menu);
    EXPECT_EQ(point.menu, PopupMenu::Meteormmax);
    EXPECT_TRUE(point.remove_switch);
    // Far from the only point: no menu, and the point is not left selected.
    const DisplayContext far = ChooseDisplayContext(s, Pixels(), 600, 400, false);
    EXPECT_FALSE(far.show_menu);
    EXPECT_EQ(far.iselect, -1);
    EXPECT_FALSE(ChooseDisplayContext(SessionData(), Pixels(), 10, 10, false).show_menu);
}

TEST(PopupPlacement, MenusOpenBesideTheClickAndTurnLeftNearTheRightEdge) {
    EXPECT_EQ(PlacePopup(100, 50, 1000), (PopupPlacement{{110, 40}, false, {90, 40, 110, 60}}));
    EXPECT_FALSE(PlacePopup(830, 50, 1000).right_aligned);
    const PopupPlacement edge = PlacePopup(831, 50, 1000);
    EXPECT_TRUE(edge.right_aligned);
    EXPECT_EQ(edge.anchor, (ScreenPoint{821, 40}));
}

}  // namespace
