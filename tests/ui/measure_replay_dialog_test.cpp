// The replay and template dialogs: the difference shown after a click, what
// OK, CANCEL and BREAK store, the displaced window of a replay and the
// share of its minus signs. (Measure > Replay runs through the real dialogs
// in the observation tests; File > Open template is tested on the shell.)

#include <QLabel>
#include <QPushButton>

#include "files/options.h"
#include "measure_ui_support.h"
#include "platform/scripted.h"
#include "ui/measure/qt_measure_dialogs.h"
#include "ui/measure/replay_dialog_window.h"
#include "ui_test_support.h"

namespace {

using namespace measure_ui;

constexpr int kW = 400, kH = 300;

class ReplayDialogTest : public testing::Test {
protected:
    ReplayDialogTest() : image_(kW, kH), guard_(&image_) {
        // Two measurements of star 0 averaging x = 2.400 mm.
        Star s(Cat("58 Ori", 0.5f, 5.9f, 7.4f), 2.388f, 2.4f);
        s.x.push_back(2.412f);
        s.y.push_back(2.4f);
        s.nrep = 1;
        session().AddStar(s, 0);
        session().AddMetPnt(Meteor(3.0f, 2.0f, 0));
    }
    void Open(std::unique_ptr<ReplayDialog> core) {
        dialog_ = std::make_unique<TReplayDialog>(nullptr, image_, messages_, std::move(core));
        dialog_->show();
        QApplication::processEvents();
    }
    void OpenStarReplay(ReplayOffsets offsets = {}) {
        Open(std::make_unique<StarReplay>(session(), image_, ColumnOf(session().fxstr(0)),
                                          RowOf(session().fystr(0), kH), 0, offsets));
    }
    // A click at plate position (x, y) mm.
    void ClickAtPlate(double x, double y) {
        ClickMagnifier(*dialog_, ControlPixelFor(dialog_->core().magnifier().origin(), x / 0.012, y / 0.012));
    }
    void Press(int id) { QTest::mouseClick(dialog_->ControlAs<QPushButton>(id), Qt::LeftButton); }
    std::string Difference() { return dialog_->ControlAs<QLabel>(196)->text().toStdString(); }
    SessionData& session() { return guard_.session; }

    GreyPicture image_;
    SessionGuard guard_;
    ScriptedMessageBox messages_;
    std::unique_ptr<TReplayDialog> dialog_;
};

TEST_F(ReplayDialogTest, CancelSkipsTheItemAndBreakStoresNothingEvenAfterAClick) {
    OpenStarReplay();
    EXPECT_EQ(dialog_->windowTitle(), "Star replay");
    Press(1);
    EXPECT_TRUE(dialog_->isVisible()) << "OK without a click does nothing";
    ClickAtPlate(2.412, 2.4);
    Press(2);
    EXPECT_EQ(DialogEndOf(dialog_->result()), DialogEnd::Cancel);
    EXPECT_EQ(session().stars[0].nrep, 1);

    Open(std::make_unique<MeteorReplay>(session(), image_, ColumnOf(3.0f), RowOf(2.0f, kH), 0, ReplayOffsets{}));
    EXPECT_EQ(dialog_->windowTitle(), "Meteor replay");
    EXPECT_EQ(Difference(), "Break 1");
    ClickAtPlate(3.0, 2.0);
    Press(195);
    EXPECT_EQ(DialogEndOf(dialog_->result()), DialogEnd::Break);
    EXPECT_EQ(session().meteors[0].nrep, 0);
}

TEST_F(ReplayDialogTest, AReplayWindowIsDisplacedAndDoesNotShowTheStarsEarlierPosition) {
    OpenStarReplay({3, -3});
    const WindowOrigin centred = MagnifierOrigin(ColumnOf(session().fxstr(0)), RowOf(session().fystr(0), kH), kH);
    EXPECT_EQ(dialog_->core().magnifier().origin(), (WindowOrigin{centred.x + 3, centred.y - 3}));
    const ControlPoint earlier = MarkerPixel(dialog_->core().magnifier().origin(), session().fxstr(0), session().fystr(0));
    const QImage shown = Painted(dialog_->MagnifierControl());
    const WindowOrigin o = dialog_->core().magnifier().origin();
    const int level = GreyPicture::Level(o.x + earlier.x / 4, o.y + (319 - earlier.y) / 4);
    EXPECT_EQ(shown.pixel(earlier.x, earlier.y), qRgb(level, level, level));
}

TEST_F(ReplayDialogTest, ATemplateStarIsMeasuredAgainstTheWindowCentreAndAddedOnOk) {
    Open(std::make_unique<StarTemplate>(session(), image_, 200, 150, Cat(" 24 Ori", 1.6f, 5.42f, 6.35f)));
    EXPECT_EQ(dialog_->windowTitle(), "Star from template");
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
// on the generator): both signs come up in each axis.
TEST(ReplayOffsets, DisplaceEachReplayWindowByTheRandomnessWithSignsOfBothKinds) {
    GreyPicture image(kW, kH);
    SessionGuard g(&image);
    g.session.AddStar(Star(Cat("58 Ori", 0.5f, 5.9f, 7.4f), 2.4f, 1.8f), 0);
    ScriptedMessageBox messages;
    QtMeasureDialogs dialogs(nullptr, messages, 12345);
    const int saved = opt.randomness;
    opt.randomness = 4;
    const int column = ColumnOf(2.4f), row = RowOf(1.8f, kH);
    const WindowOrigin centred = MagnifierOrigin(column, row, kH);
    int minus_x = 0, minus_y = 0;
    constexpr int kRuns = 16;
    for (int i = 0; i < kRuns; ++i) {
        ui_test::WhenModal("REPLAY_DIALOG", [&](QWidget* w) {
            auto* d = static_cast<TReplayDialog*>(w);
            const WindowOrigin o = d->core().magnifier().origin();
            EXPECT_EQ(std::abs(o.x - centred.x), 4);
            EXPECT_EQ(std::abs(o.y - centred.y), 4);
            minus_x += o.x < centred.x;
            minus_y += o.y < centred.y;
            d->WMBreak();
        });
        EXPECT_EQ(dialogs.RunStarReplay(column, row, 0), DialogEnd::Break);
    }
    opt.randomness = saved;
    for (const int minus : {minus_x, minus_y}) {
        EXPECT_GT(minus, 0);
        EXPECT_LT(minus, kRuns);
    }
    EXPECT_EQ(g.session.stars[0].nrep, 0);
}

}  // namespace
