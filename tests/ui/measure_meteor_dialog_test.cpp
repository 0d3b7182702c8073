// The meteor dialog as the observer uses it: the points of a still image
// one after another, a video's frame bar with its visits to earlier points
// and their "Maximum" label, the last frame, and Cancel with its question.
// (The read-out of a click is tested on the core; its widest values in the
// layout test.)

#include <QCheckBox>
#include <QPushButton>
#include <QScrollBar>

#include "measure_ui_support.h"
#include "platform/scripted.h"
#include "ui/measure/meteor_dialog_window.h"

namespace {

using namespace measure_ui;

constexpr int kW = 640, kH = 480;

class MeteorDialogTest : public testing::Test {
protected:
    explicit MeteorDialogTest(int frames = 1) : image_(kW, kH, frames), guard_(&image_) {}

    void Open(int column = 300, int row = 200) {
        dialog_ = std::make_unique<TMeteorDialog>(nullptr, session(), image_, column, row, messages_,
                                                  [this] { ++repaints_; });
        dialog_->show();
        QApplication::processEvents();
    }
    void Click(ControlPoint p) { ClickMagnifier(*dialog_, p); }
    void Press(int id) { QTest::mouseClick(dialog_->ControlAs<QAbstractButton>(id), Qt::LeftButton); }
    QScrollBar& Bar() { return *dialog_->ControlAs<QScrollBar>(192); }
    QCheckBox& Maximum() { return *dialog_->ControlAs<QCheckBox>(197); }
    PlatePosition At(ControlPoint p) { return MeasuredPosition(dialog_->core().magnifier().origin(), p); }
    SessionData& session() { return guard_.session; }

    GreyPicture image_;
    SessionGuard guard_;
    ScriptedMessageBox messages_;
    std::unique_ptr<TMeteorDialog> dialog_;
    int repaints_ = 0;
};

class MeteorVideoTest : public MeteorDialogTest {
protected:
    MeteorVideoTest() : MeteorDialogTest(50) {}
    // Points on frames 10, 11 and 12; point 1 is the maximum.
    void ThreeEarlierPoints() {
        for (int f = 10; f <= 12; ++f) {
            Meteor m((200 + 10 * f) * 0.012f, (150 + 5 * f) * 0.012f, f);
            if (f == 11) std::strcpy(m.label, "Maximum");
            session().AddMetPnt(m);
        }
    }
};

TEST_F(MeteorDialogTest, OnAStillImageEachAcceptStoresTheLastClickAndOkStoresAPendingOne) {
    Open();
    EXPECT_FALSE(Bar().isEnabled());
    EXPECT_FALSE(Maximum().isEnabled());
    Click({100, 100});
    const PlatePosition second = At({140, 120});
    Click({140, 120});
    Press(191);
    Press(191);  // nothing measured since
    ASSERT_EQ(session().nmet, 1u);
    EXPECT_FLOAT_EQ(session().fxmet(0), second.x);
    EXPECT_FLOAT_EQ(session().fymet(0), second.y);
    EXPECT_EQ(repaints_, 1) << "the image view shows the new point";
    Click({170, 170});
    Press(176);
    EXPECT_FALSE(dialog_->isVisible());
    EXPECT_EQ(dialog_->result(), QDialog::Accepted);
    ASSERT_EQ(session().nmet, 2u);
    EXPECT_EQ(session().meteors[1].frame, 1);
}

TEST_F(MeteorDialogTest, OkWithNothingStoredDoesNothingAndCancelAsksFromThreePointsOn) {
    session().AddMetPnt(Meteor(1.0f, 1.0f, 0));  // measured in an earlier dialog
    Open();
    Press(176);
    EXPECT_TRUE(dialog_->isVisible());
    for (int i = 0; i < 3; ++i) {
        Click({100 + 10 * i, 100});
        Press(191);
    }
    messages_.answers = {MbAnswer::No, MbAnswer::Yes};
    QTest::keyClick(dialog_.get(), Qt::Key_Escape);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, "Are you sure you want to cancel\n all measurements of this dialog?");
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_EQ(session().nmet, 4u);
    Press(2);
    EXPECT_EQ(dialog_->result(), QDialog::Rejected);
    EXPECT_EQ(session().nmet, 1u) << "the earlier dialog's point stays";
}

TEST_F(MeteorVideoTest, OpensOnTheFrameAfterTheLastPointAndTheBarVisitsEarlierPoints) {
    ThreeEarlierPoints();
    Open();
    EXPECT_EQ(Bar().minimum(), 10);
    EXPECT_EQ(Bar().maximum(), 49);
    EXPECT_EQ(Bar().value(), 13);
    EXPECT_EQ(Bar().pageStep(), 5);
    Painted(dialog_->MagnifierControl());
    EXPECT_EQ(image_.last_frame, 13);
    EXPECT_TRUE(dialog_->core().magnifier().enabled());

    Bar().setValue(11);
    Painted(dialog_->MagnifierControl());
    EXPECT_EQ(image_.last_frame, 11);
    EXPECT_FALSE(dialog_->core().magnifier().enabled());
    const WindowOrigin centred{static_cast<int>(session().fxmet(1) * 83.333 - 40),
                               static_cast<int>(session().fymet(1) * 83.333 - 40)};
    EXPECT_EQ(dialog_->core().magnifier().origin(), centred);
    EXPECT_TRUE(Maximum().isChecked());

    // The box on an earlier point's frame labels that point.
    QTest::mouseClick(&Maximum(), Qt::LeftButton, {}, QPoint(5, Maximum().height() / 2));
    EXPECT_FALSE(Maximum().isChecked());
    EXPECT_STREQ(session().meteors[1].label, "");
    Bar().setValue(12);
    QTest::mouseClick(&Maximum(), Qt::LeftButton, {}, QPoint(5, Maximum().height() / 2));
    EXPECT_STREQ(session().meteors[2].label, "Maximum");

    // A page on from there is a new frame, measured in an enabled magnifier.
    Bar().triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(Bar().value(), 17);
    EXPECT_TRUE(dialog_->core().magnifier().enabled());
    EXPECT_FALSE(Maximum().isChecked());
    // OK with only a label changed closes the dialog.
    Press(176);
    EXPECT_FALSE(dialog_->isVisible());
    EXPECT_EQ(session().nmet, 3u);
}

TEST_F(MeteorVideoTest, APositionIsStoredOnlyWithTheFrameItWasMeasuredOn) {
    ThreeEarlierPoints();
    Open();
    Click({160, 160});
    Bar().setValue(11);
    Bar().setValue(13);
    Press(176);
    EXPECT_TRUE(dialog_->isVisible()) << "moving the bar forgot the click";
    EXPECT_EQ(session().nmet, 3u);

    Click({160, 160});
    Press(191);
    ASSERT_EQ(session().nmet, 4u);
    EXPECT_EQ(session().meteors[3].frame, 13);
    EXPECT_EQ(Bar().value(), 14);
    EXPECT_EQ(Bar().minimum(), 10);
}

// Accept on the last frame keeps the bar there and disables the magnifier;
// a dialog opened when the last frame is used offers it the same way.
TEST_F(MeteorVideoTest, TheLastFrameOnceMeasuredIsShownWithTheMagnifierDisabled) {
    for (int f = 46; f < 49; ++f) session().AddMetPnt(Meteor((200 + 10 * f) * 0.012f, 150 * 0.012f, f));
    for (const bool reopened : {false, true}) {
        SCOPED_TRACE(reopened ? "reopened" : "accepted");
        Open();
        EXPECT_EQ(Bar().value(), 49);
        if (!reopened) {
            EXPECT_TRUE(dialog_->core().magnifier().enabled());
            Click({160, 160});
            Press(191);
            EXPECT_EQ(session().meteors.back().frame, 49);
            EXPECT_EQ(Bar().value(), 49);
        }
        EXPECT_FALSE(dialog_->core().magnifier().enabled());
        Click({170, 170});
        EXPECT_FALSE(dialog_->core().measured());
    }
    EXPECT_EQ(session().nmet, 4u);
}

}  // namespace
