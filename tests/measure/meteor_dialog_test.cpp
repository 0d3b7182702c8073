// The meteor dialog: still images and videos, the frame bar and its visits
// to earlier points, Cancel, and the read-out.
#include <gtest/gtest.h>

#include <cstring>

#include "measure/meteor_dialog.h"
#include "measure_test_support.h"
#include "platform/scripted.h"

using namespace measure_test;

void PrintTo(const MeteorReadout& r, std::ostream* os) { *os << '"' << r.values << "\" / \"" << r.captions << '"'; }

namespace {

// A session on a 400 x 300 picture (a video of 50 frames where asked).
class MeteorDialogTest : public ::testing::Test {
protected:
    void SetUp() override { SessionData::dlgdat = DialogData(); }
    void TearDown() override { SessionData::dlgdat = DialogData(); }

    void UseVideo(int frames, int width = 400) {
        video_ = std::make_unique<TestVideo>(width, 300, frames);
        current_.emplace(video_.get());
    }
    MeteorImage& image() { return video_ ? static_cast<MeteorImage&>(*video_) : still_; }
    std::unique_ptr<MeteorDialog> Open(int column = 200, int row = 150) {
        return std::make_unique<MeteorDialog>(session_, image(), column, row, mb_);
    }
    // Points at pixel (100 + 10 k, 150) on frames first, first + 1, ...
    void PointsOnFrames(int first, int count) {
        for (int k = 0; k < count; ++k)
            session_.AddMetPnt(Meteor((100 + 10 * k) * 0.012f, 150 * 0.012f, first + k));
    }

    TestPicture still_{400, 300};
    CurrentImage still_current_{&still_};
    std::unique_ptr<TestVideo> video_;
    std::optional<CurrentImage> current_;
    SessionData session_;
    ScriptedMessageBox mb_;
};

TEST_F(MeteorDialogTest, OnAStillImageAcceptStoresTheLastClickNumberedByThePointCount) {
    auto d = Open();
    EXPECT_FALSE(d->frame_bar().enabled);
    EXPECT_FALSE(d->maximum_enabled());
    EXPECT_EQ(d->magnifier().frame(), -1);
    // Nothing measured or labelled: nothing to accept, and OK stays open.
    EXPECT_FALSE(d->Accept());
    d->RightClick();
    d->Ok();
    EXPECT_FALSE(d->finished());

    d->Click({100, 100});
    d->Click({120, 110});
    const PlatePosition second = d->position();
    EXPECT_TRUE(d->Accept());
    ASSERT_EQ(session_.nmet, 1u);
    EXPECT_EQ(session_.meteors[0].frame, 0);
    EXPECT_EQ(session_.meteors[0].x[0], second.x);
    EXPECT_EQ(session_.meteors[0].y[0], second.y);
    EXPECT_FALSE(d->Accept());  // nothing measured since

    d->Click({140, 120});
    d->Ok();
    EXPECT_TRUE(d->finished());
    EXPECT_EQ(d->result(), DialogEnd::Ok);
    ASSERT_EQ(session_.nmet, 2u);
    EXPECT_EQ(session_.meteors[1].frame, 1);
}

TEST_F(MeteorDialogTest, AVideoOpensAfterTheLastPointAndTheBarReachesBackToTheFirst) {
    UseVideo(50);
    PointsOnFrames(10, 3);
    copy_text(session_.meteors[2].label, "Maximum");
    auto d = Open();
    EXPECT_EQ(d->frame_bar(), (FrameBar{true, 10, 49, 13}));
    EXPECT_EQ(d->magnifier().frame(), 13);
    EXPECT_TRUE(d->magnifier().enabled());

    // The bar cannot go before the first point's frame; frame 11 shows
    // point 1 centred, not to be measured again.
    d->MoveFrameBar(3);
    EXPECT_EQ(d->frame_bar().pos, 10);
    EXPECT_EQ(d->magnifier().frame(), 10);
    d->MoveFrameBar(11);
    EXPECT_EQ(d->magnifier().frame(), 11);
    EXPECT_FALSE(d->magnifier().enabled());
    EXPECT_EQ(d->magnifier().origin(), (WindowOrigin{109 - 40, 149 - 40}));
    EXPECT_FALSE(d->maximum_checked());
    d->Click({160, 159});
    EXPECT_FALSE(d->measured());

    // The box labels the point shown.
    d->SetMaximum(true);
    EXPECT_STREQ(session_.meteors[1].label, "Maximum");
    d->MoveFrameBar(12);
    EXPECT_TRUE(d->maximum_checked());
    d->SetMaximum(false);
    EXPECT_STREQ(session_.meteors[2].label, "");
    // A changed label is enough for OK.
    d->Ok();
    EXPECT_TRUE(d->finished());
    EXPECT_EQ(session_.nmet, 3u);
}

TEST_F(MeteorDialogTest, ThePositionOfOneFrameIsNeverStoredWithAnother) {
    UseVideo(50);
    PointsOnFrames(10, 3);
    auto d = Open();
    d->Click({160, 159});
    ASSERT_TRUE(d->measured());
    d->MoveFrameBar(11);
    d->MoveFrameBar(13);
    EXPECT_FALSE(d->measured());
    d->Ok();
    EXPECT_FALSE(d->finished());
    EXPECT_EQ(session_.nmet, 3u);

    // Measured on a new frame, it is stored with that frame.
    d->MoveFrameBar(15);
    EXPECT_TRUE(d->magnifier().enabled());
    d->Click({160, 159});
    EXPECT_TRUE(d->Accept());
    EXPECT_EQ(session_.meteors[3].frame, 15);
    EXPECT_EQ(d->frame_bar().pos, 16);
}

TEST_F(MeteorDialogTest, AVideoWhoseLastPointIsOnTheLastFrameOpensThereDisabled) {
    UseVideo(50);
    PointsOnFrames(47, 3);
    auto d = Open();
    EXPECT_EQ(d->frame_bar(), (FrameBar{true, 47, 49, 49}));
    EXPECT_EQ(d->magnifier().frame(), 49);
    EXPECT_FALSE(d->magnifier().enabled());
    d->Click({160, 159});
    EXPECT_FALSE(d->measured());
    EXPECT_FALSE(d->Accept());
}

TEST_F(MeteorDialogTest, AcceptOnAVideoStepsToTheNextFrameAndToThePredictedPoint) {
    UseVideo(4, 360);
    auto d = Open(200, 150);
    const WindowOrigin o = d->magnifier().origin();
    ASSERT_EQ(o, (WindowOrigin{160, 109}));
    d->Click({160, 159});  // column 200, row 149
    d->Accept();
    EXPECT_EQ(d->frame_bar(), (FrameBar{true, 0, 3, 1}));
    EXPECT_EQ(d->magnifier().frame(), 1);
    EXPECT_EQ(d->magnifier().origin(), o);  // one point predicts nothing
    d->Click({316, 159});  // column 239
    d->Accept();
    EXPECT_EQ(d->magnifier().frame(), 2);
    EXPECT_NEAR(d->magnifier().origin().x, 239 + 39 - 40, 1);
    EXPECT_NEAR(d->magnifier().origin().y, 149 - 40, 1);
    // The prediction runs off the image: the window's centre stays on it.
    d->Click({319, 159});
    d->Accept();
    EXPECT_EQ(d->magnifier().origin().x, 360 - 40);
    // The last frame used: the magnifier offers it but measures no more.
    d->Click({100, 159});
    d->Accept();
    ASSERT_EQ(session_.nmet, 4u);
    EXPECT_EQ(session_.meteors[3].frame, 3);
    EXPECT_EQ(d->frame_bar(), (FrameBar{true, 0, 3, 3}));
    EXPECT_EQ(d->magnifier().frame(), 3);
    EXPECT_FALSE(d->magnifier().enabled());
}

TEST_F(MeteorDialogTest, CancelDropsThisDialogsPointsAskingFirstFromThreeOn) {
    PointsOnFrames(0, 1);
    auto two = Open();
    for (int k = 0; k < 2; ++k) {
        two->Click({100 + 10 * k, 100});
        two->Accept();
    }
    ASSERT_EQ(session_.nmet, 3u);
    two->Cancel();
    EXPECT_TRUE(mb_.shown.empty());
    EXPECT_TRUE(two->finished());
    EXPECT_EQ(two->result(), DialogEnd::Cancel);
    EXPECT_EQ(session_.nmet, 1u);

    auto d = Open();
    for (int k = 0; k < 3; ++k) {
        d->Click({100 + 10 * k, 100});
        d->Accept();
    }
    mb_.answers = {MbAnswer::No};
    d->Cancel();
    ASSERT_EQ(mb_.shown.size(), 1u);
    EXPECT_EQ(mb_.shown[0].text, "Are you sure you want to cancel\n all measurements of this dialog?");
    EXPECT_EQ(mb_.shown[0].caption, "Cancel");
    EXPECT_EQ(mb_.shown[0].buttons, MbButtons::YesNo);
    EXPECT_FALSE(d->finished());
    EXPECT_EQ(session_.nmet, 4u);
    mb_.answers = {MbAnswer::Yes};
    d->Cancel();
    EXPECT_TRUE(d->finished());
    EXPECT_EQ(session_.nmet, 1u);
}

TEST_F(MeteorDialogTest, CancelPutsBackTheReferenceTimeTheVideosPointsSet) {
    UseVideo(50);
    copy_text(SessionData::dlgdat.shutter, "25");
    copy_text(SessionData::dlgdat.hour, "22");
    copy_text(SessionData::dlgdat.refhour, "21");
    auto d = Open();
    d->Click({160, 159});
    d->Accept();
    ASSERT_STRNE(SessionData::dlgdat.refhour, "21");
    d->Cancel();
    EXPECT_STREQ(SessionData::dlgdat.refhour, "21");
    EXPECT_STREQ(SessionData::dlgdat.refminute, "");
    EXPECT_STREQ(SessionData::dlgdat.refsecond, "");
}

// The read-out on a 2000 x 1500 image of the field round RA 6 h, DE +20.
class MeteorReadoutTest : public MeteorDialogTest {
protected:
    void SetUp() override {
        MeteorDialogTest::SetUp();
        big_.type = ImageType::Still;
        big_.width = 2000;
        big_.height = 1500;
    }
    void Measure(const char* name, double ra, double de) {
        float x, y;
        Plate(ra, de, x, y);
        session_.AddStar(Star(Cat(name, 4, ra, de), x, y), 1);
    }
    // Clicks the centre pixel of a window opened at pixel (1000, 700).
    MeteorReadout ClickTheCentre() {
        MeteorDialog d(session_, big_, 1000, 700, mb_);
        d.Click({160, 159});
        position_ = d.position();
        return d.readout();
    }

    MeteorImage big_;
    CurrentImage big_current_{&big_};
    PlatePosition position_;
};

TEST_F(MeteorReadoutTest, ThreeVisibleStarsShowTheSkyPositionInParenthesesUntilTheExposureDataAreEntered) {
    Measure("A", 5.85, 18.5);
    Measure("B", 6.15, 18.8);
    EXPECT_EQ(ClickTheCentre(), MeteorReadout{});
    Measure("C", 6.1, 21.5);
    session_.fhide(2);
    EXPECT_EQ(ClickTheCentre(), MeteorReadout{});
    session_.funhide(2);
    const MeteorReadout r = ClickTheCentre();
    double ra, de;
    Sky(position_.x, position_.y, ra, de);
    EXPECT_EQ(r, FormatMeteorReadout(position_.x, position_.y, static_cast<float>(ra), static_cast<float>(de), false));
    EXPECT_EQ(r.captions, "x =\r\ny =\r\n\r\n(RA =\r\nDE =");

    // The meteor an hour after the reference exposure: the sky has turned
    // by 1.0026 sidereal hours.
    SessionData::dlgdat.status = 0;
    copy_text(SessionData::dlgdat.hour, "23");
    copy_text(SessionData::dlgdat.refhour, "22");
    const MeteorReadout entered = ClickTheCentre();
    EXPECT_EQ(entered, FormatMeteorReadout(position_.x, position_.y, static_cast<float>(ra + 1.00263791),
                                           static_cast<float>(de), true));
    EXPECT_EQ(entered.captions, "x =\r\ny =\r\n\r\nRA =\r\nDE =");
}

TEST(MeteorReadoutText, HoursAndDegreesRoundToWholeMinutes) {
    EXPECT_EQ(FormatMeteorReadout(1.2f, 2.4f, 5.5f, -5.5f, true),
              (MeteorReadout{" 1.200\r\n 2.400\r\n\r\n  5 30\r\n -5 30", "x =\r\ny =\r\n\r\nRA =\r\nDE ="}));
    EXPECT_EQ(FormatMeteorReadout(1.2f, 2.4f, 5.5f, -5.5f, false).values,
              " 1.200\r\n 2.400\r\n\r\n  5 30)\r\n -5 30 ");
    // 59.6 minutes is the next hour; a declination just south of 0 keeps
    // its sign.
    EXPECT_EQ(FormatMeteorReadout(12.345f, 0.0f, 5.9933f, -0.3f, true).values,
              "12.345\r\n 0.000\r\n\r\n  6 00\r\n -0 18");
    EXPECT_EQ(FormatMeteorReadout(0.0f, 0.0f, 1.0f, 45.995f, true).values,
              " 0.000\r\n 0.000\r\n\r\n  1 00\r\n 46 00");
}

}  // namespace
