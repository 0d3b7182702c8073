// The replay and template dialogs: the difference shown after a click, what
// OK, CANCEL and BREAK store, the displaced window of a replay and the
// share of its minus signs. (Measure > Replay runs through the real dialogs
// in the observation tests; File > Open template is tested on the shell.)

#include <QLabel>

#include "files/options.h"
#include "measure_ui_support.h"
#include "ui/measure/qt_measure_dialogs.h"
#include "ui/measure/replay_dialog_window.h"

namespace {

using namespace measure_ui;

constexpr int kW = 400, kH = 300;

class ReplayDialogTest : public DialogTest<TReplayDialog> {
protected:
    ReplayDialogTest() : DialogTest(kW, kH) {
        // Two measurements of star 0 averaging x = 2.400 mm.
        Star s(Cat("58 Ori", 0.5f, 5.9f, 7.4f), 2.388f, 2.4f);
        s.x.push_back(2.412f);
        s.y.push_back(2.4f);
        s.nrep = 1;
        session().AddStar(s, 0);
        session().AddMetPnt(Meteor(3.0f, 2.0f, 0));
    }
    void Open(std::unique_ptr<ReplayDialog> core) {
        Show(std::make_unique<TReplayDialog>(nullptr, image_, messages_, std::move(core)));
    }
    // A click at plate position (x, y) mm.
    void ClickAtPlate(double x, double y) {
        ClickMagnifier(*dialog_, ControlPixelFor(dialog_->core().magnifier().origin(), x / 0.012, y / 0.012));
    }
    std::string Difference() { return dialog_->ControlAs<QLabel>(196)->text().toStdString(); }
};

TEST_F(ReplayDialogTest, CancelSkipsTheItemBreakStoresNothingAndATemplateStarIsAddedOnOk) {
    Open(std::make_unique<StarReplay>(session(), image_, ColumnOf(session().fxstr(0)), RowOf(session().fystr(0), kH), 0,
                                      ReplayOffsets{}));
    Press(1);
    EXPECT_TRUE(dialog_->isVisible()) << "OK without a click does nothing";
    ClickAtPlate(2.412, 2.4);
    Press(2);
    EXPECT_EQ(DialogEndOf(dialog_->result()), DialogEnd::Cancel);
    EXPECT_EQ(session().stars[0].nrep, 1);

    Open(std::make_unique<MeteorReplay>(session(), image_, ColumnOf(3.0f), RowOf(2.0f, kH), 0, ReplayOffsets{}));
    EXPECT_EQ(Difference(), "Break 1");
    ClickAtPlate(3.0, 2.0);
    Press(195);
    EXPECT_EQ(DialogEndOf(dialog_->result()), DialogEnd::Break);
    EXPECT_EQ(session().meteors[0].nrep, 0);

    // A template star is measured against the window centre and added on OK.
    Open(std::make_unique<StarTemplate>(session(), image_, 200, 150, Cat(" 24 Ori", 1.6f, 5.42f, 6.35f)));
    EXPECT_EQ(Difference(), " 24 Ori");
    const WindowOrigin o = dialog_->core().magnifier().origin();
    ClickMagnifier(*dialog_, ControlPixelFor(o, o.x + 41.5, o.y + 39.25));
    EXPECT_EQ(Difference(), " 24 Ori\n\ndx=+1.50 pxl\ndy=-0.75 pxl");
    Press(1);
    ASSERT_EQ(session().nstar, 2u);
    EXPECT_STREQ(session().stars[1].name, " 24 Ori");
}

// QtMeasureDialogs displaces each replay window by the randomness in each
// axis, with signs drawn from its own generator (whose fairness is tested
// on the generator): both signs come up in each axis. The star's earlier
// position is not shown.
TEST_F(ReplayDialogTest, EachReplayWindowIsDisplacedByTheRandomnessWithSignsOfBothKindsHidingTheEarlierPosition) {
    QtMeasureDialogs dialogs(nullptr, messages_, 12345);
    const int saved = opt.randomness;
    opt.randomness = 4;
    const int column = ColumnOf(session().fxstr(0)), row = RowOf(session().fystr(0), kH);
    const WindowOrigin centred = MagnifierOrigin(column, row, kH);
    int minus_x = 0, minus_y = 0;
    constexpr int kRuns = 16;
    for (int i = 0; i < kRuns; ++i) {
        ui_test::WhenModal("REPLAY_DIALOG", [&](QWidget* w) {
            auto* d = static_cast<TReplayDialog*>(w);
            const WindowOrigin o = d->core().magnifier().origin();
            EXPECT_EQ(QPoint(std::abs(o.x - centred.x), std::abs(o.y - centred.y)), QPoint(4, 4));
            minus_x += o.x < centred.x;
            minus_y += o.y < centred.y;
            const ControlPoint earlier = MarkerPixel(o, session().fxstr(0), session().fystr(0));
            const int level = GreyPicture::Level(o.x + earlier.x / 4, o.y + (319 - earlier.y) / 4);
            EXPECT_EQ(Painted(d->MagnifierControl()).pixel(earlier.x, earlier.y), qRgb(level, level, level));
            d->WMBreak();
        });
        EXPECT_EQ(dialogs.RunStarReplay(column, row, 0), DialogEnd::Break);
    }
    opt.randomness = saved;
    EXPECT_TRUE(minus_x > 0 && minus_x < kRuns && minus_y > 0 && minus_y < kRuns) << minus_x << ", " << minus_y;
}

}  // namespace
