// The meteor dialog as the observer uses it: the points of a still image
// one after another, a video's frame bar with its visits to earlier points
// and their "Maximum" label, the last frame, and Cancel with its question.
// (The read-out of a click is tested on the core; its widest values in the
// layout test.)

#include <QCheckBox>
#include <QScrollBar>

#include "measure_ui_support.h"
#include "ui/measure/meteor_dialog_window.h"

namespace {

using namespace measure_ui;

constexpr int kW = 640, kH = 480;

class MeteorDialogTest : public DialogTest<TMeteorDialog> {
protected:
    explicit MeteorDialogTest(int frames = 1) : DialogTest(kW, kH, frames) {}

    void Open() {
        Show(std::make_unique<TMeteorDialog>(nullptr, session(), image_, 300, 200, messages_, [this] { ++repaints_; }));
    }
    void Click(ControlPoint p) { ClickMagnifier(*dialog_, p); }
    QScrollBar& Bar() { return *dialog_->ControlAs<QScrollBar>(192); }
    QCheckBox& Maximum() { return *dialog_->ControlAs<QCheckBox>(197); }
    int repaints_ = 0;
};

class MeteorVideoTest : public MeteorDialogTest {
protected:
    MeteorVideoTest() : MeteorDialogTest(50) {}
};

TEST_F(MeteorDialogTest, OnAStillImageAcceptStoresTheLastClickCancelAsksFromThreePointsOnAndOkAPendingOne) {
    session().AddMetPnt(Meteor(1.0f, 1.0f, 0));  // measured in an earlier dialog
    Open();
    EXPECT_FALSE(Bar().isEnabled());
    EXPECT_FALSE(Maximum().isEnabled());
    Press(176);
    EXPECT_TRUE(dialog_->isVisible()) << "OK with nothing stored does nothing";
    Click({100, 100});
    const PlatePosition second = MeasuredPosition(dialog_->core().magnifier().origin(), {140, 120});
    Click({140, 120});
    Press(191);
    Press(191);  // nothing measured since
    ASSERT_EQ(session().nmet, 2u);
    EXPECT_FLOAT_EQ(session().fxmet(1), second.x);
    EXPECT_FLOAT_EQ(session().fymet(1), second.y);
    EXPECT_EQ(repaints_, 1) << "the image view shows the new point";
    for (int i = 0; i < 2; ++i) {
        Click({100 + 10 * i, 100});
        Press(191);
    }
    messages_.answers = {MbAnswer::No, MbAnswer::Yes};
    QTest::keyClick(dialog_.get(), Qt::Key_Escape);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, "Are you sure you want to cancel\n all measurements of this dialog?");
    EXPECT_EQ(session().nmet, 4u);
    Press(2);
    EXPECT_EQ(dialog_->result(), QDialog::Rejected);
    EXPECT_EQ(session().nmet, 1u) << "the earlier dialog's point stays";

    Open();
    Click({170, 170});
    Press(176);
    EXPECT_EQ(dialog_->result(), QDialog::Accepted);
    ASSERT_EQ(session().nmet, 2u);
    EXPECT_EQ(session().meteors[1].frame, 1);
}

// A click is stored only with the frame it was measured on; an earlier
// point's frame shows that point, not measurable, and its "Maximum" box
// labels it.
TEST_F(MeteorVideoTest, OpensOnTheFrameAfterTheLastPointAndTheBarVisitsEarlierPoints) {
    // Points on frames 10, 11 and 12; point 1 is the maximum.
    for (int f = 10; f <= 12; ++f) {
        Meteor m((200 + 10 * f) * 0.012f, (150 + 5 * f) * 0.012f, f);
        if (f == 11) std::strcpy(m.label, "Maximum");
        session().AddMetPnt(m);
    }
    Open();
    EXPECT_EQ(Bar().minimum(), 10);
    EXPECT_EQ(Bar().maximum(), 49);
    EXPECT_EQ(Bar().value(), 13);
    Painted(dialog_->MagnifierControl());
    EXPECT_EQ(image_.last_frame, 13);
    Click({160, 160});

    Bar().setValue(11);
    Painted(dialog_->MagnifierControl());
    EXPECT_EQ(image_.last_frame, 11);
    EXPECT_FALSE(dialog_->core().magnifier().enabled());
    const WindowOrigin centred{static_cast<int>(session().fxmet(1) * 83.333 - 40),
                               static_cast<int>(session().fymet(1) * 83.333 - 40)};
    EXPECT_EQ(dialog_->core().magnifier().origin(), centred);
    EXPECT_TRUE(Maximum().isChecked());

    Bar().setValue(13);
    Press(176);
    EXPECT_TRUE(dialog_->isVisible()) << "moving the bar forgot the click";
    Click({160, 160});
    Press(191);
    ASSERT_EQ(session().nmet, 4u);
    EXPECT_EQ(session().meteors[3].frame, 13);
    // The box on an earlier point's frame labels that point.
    Bar().setValue(11);
    QTest::mouseClick(&Maximum(), Qt::LeftButton, {}, QPoint(5, Maximum().height() / 2));
    EXPECT_STREQ(session().meteors[1].label, "");
    Bar().setValue(12);
    QTest::mouseClick(&Maximum(), Qt::LeftButton, {}, QPoint(5, Maximum().height() / 2));
    EXPECT_STREQ(session().meteors[2].label, "Maximum");
    // A page on is a new frame, measured in an enabled magnifier.
    Bar().triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(Bar().value(), 17);
    EXPECT_TRUE(dialog_->core().magnifier().enabled());
    EXPECT_FALSE(Maximum().isChecked());
    Press(176);
    EXPECT_FALSE(dialog_->isVisible()) << "OK with only a label changed closes the dialog";
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
