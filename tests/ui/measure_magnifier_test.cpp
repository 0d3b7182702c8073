// The magnifier in a real dialog: the pixels it paints at windows that cross
// each image edge, clicks and keys as an observer gives them, and the right
// click (the markers, keys and clicks themselves are tested on the core).

#include <QLineEdit>
#include <memory>

#include "measure/magnifier_render.h"
#include "measure_ui_support.h"
#include "platform/scripted.h"
#include "ui/measure/replay_dialog_window.h"
#include "ui/measure/star_dialog_window.h"

namespace {

using namespace measure_ui;

constexpr int kW = 200, kH = 150;

// A template dialog opens on a picture of kW x kH: no replay offsets and no
// item left out, so the window is exactly the one of the display pixel.
class Magnifier : public testing::Test {
protected:
    std::unique_ptr<TReplayDialog> TemplateDialog(int column, int row, QWidget* parent = nullptr) {
        auto d = std::make_unique<TReplayDialog>(
            parent, image_, messages_,
            std::make_unique<StarTemplate>(g_.session, image_, column, row, Cat("58 Ori", 0.5f, 5.9f, 7.4f)));
        d->show();
        return d;
    }
    GreyPicture image_{kW, kH};
    SessionGuard g_{&image_};
    ScriptedMessageBox messages_;
};

// Every control pixel is the image pixel it covers, or the grey beyond the
// image.
void ExpectWindowPixels(TMeasureDialog& d, const GreyPicture& image) {
    const QImage shown = Painted(d.MagnifierControl());
    ASSERT_EQ(shown.size(), QSize(320, 320));
    const WindowOrigin o = d.core().magnifier().origin();
    int wrong = 0;
    for (int my = 0; my < 320; ++my)
        for (int mx = 0; mx < 320; ++mx) {
            const int c = o.x + mx / 4, r = o.y + (319 - my) / 4;
            const bool inside = c >= 0 && c < image.width && r >= 0 && r < image.height;
            const int level = inside ? GreyPicture::Level(c, r) : 128;
            if (shown.pixel(mx, my) != qRgb(level, level, level) && ++wrong <= 3)
                ADD_FAILURE() << "control pixel (" << mx << ", " << my << ") of origin (" << o.x << ", " << o.y
                              << ") shows " << std::hex << shown.pixel(mx, my) << ", not level " << std::dec << level;
        }
    EXPECT_EQ(wrong, 0);
}

TEST_F(Magnifier, ShowTheWindowOfTheImageAndGreyBeyondEachEdge) {
    struct Case {
        const char* edge;
        int column, row;
        WindowOrigin origin;
    };
    const Case cases[] = {
        {"left", 10, 70, {-30, 39}},     {"right", 190, 70, {150, 39}}, {"bottom", 100, 140, {60, -31}},
        {"top", 100, 5, {60, 104}},      {"inside", 100, 70, {60, 39}}, {"corner", 195, 2, {155, 107}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.edge);
        auto d = TemplateDialog(c.column, c.row);
        ASSERT_EQ(d->core().magnifier().origin(), c.origin);
        ExpectWindowPixels(*d, image_);
    }
}

TEST_F(Magnifier, DrawTheCrossFirstAndThenGiveTheDialogTheQuarterPixelPosition) {
    // Origin (100, 60): display column 140, row 150 - 101.
    auto d = TemplateDialog(140, 49);
    ASSERT_EQ(d->core().magnifier().origin(), (WindowOrigin{100, 60}));

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

    ClickMagnifier(*d, {0, 319});
    EXPECT_FLOAT_EQ(d->core().position().x, 1.2f);
    EXPECT_FLOAT_EQ(d->core().position().y, 0.72f);
    // Only the last click keeps its cross.
    const QImage after = Painted(d->MagnifierControl());
    const int level = GreyPicture::Level(100, 60);
    EXPECT_EQ(after.pixel(3, 316), qRgb(level, level, level));
    EXPECT_EQ(after.pixel(0, 319), qRgb(0, 0, 0));
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
    QApplication::processEvents();
    EXPECT_EQ(Painted(d->MagnifierControl()).pixel(161, 156), qRgb(0, 0, 0));
    QTest::keyClick(d->MagnifierControl(), Qt::Key_Space);
    QApplication::processEvents();
    EXPECT_EQ(d->core().position(), MeasuredPosition(d->core().magnifier().origin(), {161, 156}));
    EXPECT_TRUE(d->isVisible());
    // Enter still reaches the dialog's default button: OK.
    QTest::keyClick(d->MagnifierControl(), Qt::Key_Return);
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(g_.session.nstar, 1u);
}

TEST_F(Magnifier, AClickLeavesTheKeyboardWithAFieldTheObserverIsTypingIn) {
    TStarDialog d(nullptr, g_.session, image_, 100, 70, messages_, {ShippedCatalogue(), 0.5f, 8.0f, std::nullopt});
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

TEST_F(Magnifier, ActsAsOkOfTheDialog) {
    auto d = TemplateDialog(100, 70);
    ClickMagnifier(*d, {160, 160}, Qt::RightButton);
    EXPECT_TRUE(d->isVisible()) << "OK needs a measured position";
    ClickMagnifier(*d, {160, 160});
    ClickMagnifier(*d, {10, 10}, Qt::RightButton);
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(d->result(), QDialog::Accepted);
    ASSERT_EQ(g_.session.nstar, 1u);
    EXPECT_FLOAT_EQ(g_.session.fxstr(0), MeasuredPosition({60, 39}, {160, 160}).x);
}

}  // namespace
