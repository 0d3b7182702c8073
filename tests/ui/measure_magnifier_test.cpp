// The magnifier in a real dialog: the pixels it paints at windows that cross
// each image edge, clicks and keys as an observer gives them, and the right
// click (the markers, keys and clicks themselves are tested on the core).

#include <QLineEdit>

#include "measure/magnifier_render.h"
#include "measure_ui_support.h"
#include "ui/measure/replay_dialog_window.h"
#include "ui/measure/star_dialog_window.h"

namespace {

using namespace measure_ui;

constexpr int kW = 200, kH = 150;

// A template dialog opens on a picture of kW x kH: no replay offsets and no
// item left out, so the window is exactly the one of the display pixel.
class Magnifier : public DialogTest<TReplayDialog> {
protected:
    Magnifier() : DialogTest(kW, kH) {}
    std::unique_ptr<TReplayDialog> TemplateDialog(int column, int row) {
        auto d = std::make_unique<TReplayDialog>(
            nullptr, image_, messages_,
            std::make_unique<StarTemplate>(session(), image_, column, row, Cat("58 Ori", 0.5f, 5.9f, 7.4f)));
        d->show();
        return d;
    }
};

// Every control pixel is the image pixel it covers, or the grey beyond the
// image: windows across the left and bottom edges, the right and top ones,
// and inside.
TEST_F(Magnifier, ShowTheWindowOfTheImageAndGreyBeyondEachEdge) {
    // The display pixel (column, row) a window opens on, and its origin.
    const std::pair<QPoint, WindowOrigin> cases[] = {
        {{10, 140}, {-30, -31}}, {{195, 2}, {155, 107}}, {{100, 70}, {60, 39}}};
    for (const auto& [pixel, origin] : cases) {
        auto d = TemplateDialog(pixel.x(), pixel.y());
        ASSERT_EQ(d->core().magnifier().origin(), origin);
        const QImage shown = Painted(d->MagnifierControl());
        ASSERT_EQ(shown.size(), QSize(320, 320));
        int wrong = 0;
        for (int my = 0; my < 320; ++my)
            for (int mx = 0; mx < 320; ++mx) {
                const int c = origin.x + mx / 4, r = origin.y + (319 - my) / 4;
                const int level = c >= 0 && c < kW && r >= 0 && r < kH ? GreyPicture::Level(c, r) : 128;
                if (shown.pixel(mx, my) != qRgb(level, level, level) && ++wrong <= 3)
                    ADD_FAILURE() << "control pixel " << mx << ", " << my << " is not level " << level;
            }
        EXPECT_EQ(wrong, 0);
    }
}

TEST_F(Magnifier, DrawTheCrossFirstThenGiveTheDialogTheQuarterPixelPositionAndTheRightButtonIsOk) {
    // Origin (100, 60): display column 140, row 150 - 101.
    auto d = TemplateDialog(140, 49);
    ASSERT_EQ(d->core().magnifier().origin(), (WindowOrigin{100, 60}));
    ClickMagnifier(*d, {160, 160}, Qt::RightButton);
    EXPECT_TRUE(d->isVisible()) << "the right button is OK, which needs a measured position";

    QTest::mouseClick(d->MagnifierControl(), Qt::LeftButton, {}, QPoint(3, 316));
    // The control has drawn its cross; the dialog has not seen the click yet.
    EXPECT_FALSE(d->core().measured());
    const QImage at_click = d->MagnifierControl()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(at_click.pixel(3, 316), qRgb(0, 0, 0));
    EXPECT_EQ(at_click.pixel(5, 316), qRgb(255, 255, 255));
    QApplication::processEvents();
    ASSERT_TRUE(d->core().measured());
    EXPECT_FLOAT_EQ(d->core().position().x, 1.209f);
    EXPECT_FLOAT_EQ(d->core().position().y, 0.729f);

    // Only the last click keeps its cross.
    ClickMagnifier(*d, {0, 319});
    const QImage after = Painted(d->MagnifierControl());
    const int level = GreyPicture::Level(100, 60);
    EXPECT_EQ(after.pixel(3, 316), qRgb(level, level, level));
    EXPECT_EQ(after.pixel(0, 319), qRgb(0, 0, 0));
    ClickMagnifier(*d, {10, 10}, Qt::RightButton);
    EXPECT_EQ(d->result(), QDialog::Accepted);
    ASSERT_EQ(session().nstar, 1u);
    EXPECT_FLOAT_EQ(session().fxstr(0), 1.2f);
}

TEST_F(Magnifier, ArrowsMoveTheCrossByAQuarterOrAWholePixelAndSpaceMeasuresThere) {
    auto d = TemplateDialog(100, 70);
    d->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(d.get()));
    ClickMagnifier(*d, {160, 160});
    ASSERT_TRUE(d->MagnifierControl()->hasFocus()) << "a click gives the magnifier the keyboard";
    // What each key does is tested on the core; here the keys reach it.
    QTest::keyClick(d->MagnifierControl(), Qt::Key_Right);
    QTest::keyClick(d->MagnifierControl(), Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(Painted(d->MagnifierControl()).pixel(161, 156), qRgb(0, 0, 0));
    QTest::keyClick(d->MagnifierControl(), Qt::Key_Space);
    QApplication::processEvents();
    EXPECT_EQ(d->core().position(), MeasuredPosition(d->core().magnifier().origin(), {161, 156}));
    EXPECT_TRUE(d->isVisible());
    // Enter still reaches the dialog's default button: OK.
    QTest::keyClick(d->MagnifierControl(), Qt::Key_Return);
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(session().nstar, 1u);
}

TEST_F(Magnifier, AClickLeavesTheKeyboardWithAFieldTheObserverIsTypingIn) {
    TStarDialog d(nullptr, session(), image_, 100, 70, messages_, {ShippedCatalogue(), 0.5f, 8.0f, std::nullopt});
    d.show();
    d.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    auto* name = d.ControlAs<QLineEdit>(171);
    ASSERT_TRUE(name->hasFocus());
    ClickMagnifier(d, {160, 160});
    EXPECT_TRUE(name->hasFocus());
    QTest::keyClicks(name, "58 Ori");
    EXPECT_EQ(d.star().field(StarField::Name), "58 Ori");
}

}  // namespace
