// The meteor dialog's edges the window tests do not reach: the predicted
// window, the reference time Cancel puts back, and the read-out against an
// independent projection.
#include <gtest/gtest.h>

#include <cstring>

#include "measure/meteor_dialog.h"
#include "measure_test_support.h"
#include "platform/scripted.h"

using namespace measure_test;

void PrintTo(const MeteorReadout& r, std::ostream* os) { *os << '"' << r.values << "\" / \"" << r.captions << '"'; }

namespace {

// A session on a video, and the exposure record reset round each test.
class MeteorDialogTest : public ::testing::Test {
protected:
    void SetUp() override { SessionData::dlgdat = DialogData(); }
    void TearDown() override { SessionData::dlgdat = DialogData(); }

    // A dialog at pixel (200, 150) of a video 300 pixels high.
    std::unique_ptr<MeteorDialog> OpenOnVideo(int frames, int width) {
        video_ = std::make_unique<TestVideo>(width, 300, frames);
        current_.emplace(video_.get());
        return std::make_unique<MeteorDialog>(session_, *video_, 200, 150, mb_);
    }
    std::unique_ptr<TestVideo> video_;
    std::optional<CurrentImage> current_;
    SessionData session_;
    ScriptedMessageBox mb_;
};

TEST_F(MeteorDialogTest, AcceptOnAVideoStepsToTheNextFrameAndToThePredictedPoint) {
    auto d = OpenOnVideo(4, 360);
    const WindowOrigin o = d->magnifier().origin();
    ASSERT_EQ(o, (WindowOrigin{160, 109}));
    d->Click({160, 159});  // column 200, row 149
    d->Accept();
    EXPECT_EQ(d->frame_bar(), (FrameBar{true, 0, 3, 1}));
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
}

TEST_F(MeteorDialogTest, CancelPutsBackTheReferenceTimeTheVideosPointsSet) {
    copy_text(SessionData::dlgdat.shutter, "25");
    copy_text(SessionData::dlgdat.hour, "22");
    copy_text(SessionData::dlgdat.refhour, "21");
    auto d = OpenOnVideo(50, 400);
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
    void Measure(const char* name, double ra, double de) { MeasureExactly(session_, Cat(name, 4, ra, de)); }
    // Clicks the centre pixel of a window opened at pixel (1000, 700).
    MeteorReadout ClickTheCentre() {
        MeteorDialog d(session_, big_, 1000, 700, mb_);
        d.Click({160, 159});
        position_ = d.position();
        return d.readout();
    }

    FieldImage big_;
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
