// The replay and template dialogs' edges the window tests do not reach: a
// meteor point's frame, and a template star added without recomputation.
#include <gtest/gtest.h>

#include "measure/replay_dialogs.h"
#include "measure_test_support.h"

using namespace measure_test;

namespace {

class ReplayDialogsTest : public ::testing::Test {
protected:
    // One star, measured twice.
    void SetUp() override {
        Star s(Cat("A", 4, 6, 20), 11.994f, 6.0f);
        session_.AddStar(s, 0);
        session_.ReplayStar(0, 12.006f, 6.0f);
    }
    FieldImage image_;
    CurrentImage current_{&image_};
    SessionData session_;
};

TEST_F(ReplayDialogsTest, AMeteorReplayShowsItsPointsFrameOnAVideo) {
    TestVideo video(400, 300, 50);
    CurrentImage current(&video);
    session_.AddMetPnt(Meteor(1.2f, 1.2f, 7));
    session_.AddMetPnt(Meteor(1.5f, 1.2f, 8));
    MeteorReplay d(session_, video, 125, 200, 1, {});
    EXPECT_EQ(d.index(), 2);  // after the one star
    EXPECT_EQ(d.magnifier().frame(), 8);
    d.Click({160, 159});  // column 125, row 99: a pixel below the point
    EXPECT_EQ(d.difference(), "Break 2\r\n\r\ndx=+0.00 pxl\r\ndy=-1.00 pxl");
    d.Ok();
    EXPECT_EQ(session_.meteors[1].nrep, 1);
    EXPECT_EQ(session_.meteors[0].nrep, 0);
}

TEST_F(ReplayDialogsTest, ATemplateStarIsAddedWithoutRecomputationAtTheClick) {
    session_.sd = 0.5f;
    StarTemplate d(session_, image_, 1000, 1000, Cat(" 58 Ori", 0.5f, 5.9, 7.4));
    // Template dialogs open undisplaced: the expected pixel is the centre.
    EXPECT_EQ(d.magnifier().origin(), (WindowOrigin{960, 459}));
    d.Click({162, 157});  // half a pixel right of and above the centre's corner
    EXPECT_EQ(d.difference(), " 58 Ori\r\n\r\ndx=+0.50 pxl\r\ndy=+0.50 pxl");
    d.Ok();
    ASSERT_EQ(session_.nstar, 2u);
    EXPECT_EQ(session_.stars[1].x[0], d.position().x);
    EXPECT_EQ(session_.sd, 0.5f);
}

}  // namespace
