// The right button in the image view: the pick of the nearest measurement
// and the context menu it opens with its items. (Its items act in the
// recovery and observation tests; the commands behind them are tested on
// the shell.)
#include "main_window_fixture.h"

namespace ui_test {
namespace {

class DisplayContextMenu : public MainWindowTest {};

// Which menu each kind of measurement opens is tested on the pick; here the
// window opens it where the pick says and the switch acts.
TEST_F(DisplayContextMenu, AStarOffersItsMenuAFarClickOnlyTheSwitchAndAClickClosingAMenuMeasuresNothing) {
    // The example photograph measured on an image of its size, shown at
    // original pixels in a pane as large as the image, so that pane and
    // image pixels coincide.
    StartOnExample(1200, 800 + 19);
    ASSERT_TRUE(Choose(cmd::ImagePixel));
    const std::vector<std::string> star = {"&Hide for analysis", "&Switch to analysis", "&Delete"};
    EXPECT_EQ(RightClick(display().viewport(), StarPixel(4) + QPoint(3, -2)), star);
    EXPECT_EQ(RightClick(display().viewport(), QPoint(1190, 10)), std::vector<std::string>{"&Switch to analysis"});
    EXPECT_EQ(SelectedStar::iselect, -1);
    // The switch shows the table and keeps the star selected.
    RightClick(display().viewport(), StarPixel(2), [](QMenu* m) { ClickItem(m, cmd::CtxSwitch); });
    EXPECT_TRUE(analysis().isVisible());
    EXPECT_FALSE(display().isVisible());
    EXPECT_EQ(SelectedStar::iselect, 2);
    ASSERT_TRUE(Choose(cmd::WindowMeasure));

    // The click that dismisses a menu arrives at the image view in the
    // same turn as the menu closes; it must not open a measuring dialog.
    RightClick(display().viewport(), QPoint(1190, 10), [this](QMenu* menu) {
        menu->close();
        QTest::mouseClick(display().viewport(), Qt::LeftButton, {}, QPoint(600, 400));
    });
    EXPECT_TRUE(measure_.shown.empty());

    QMenuBar* bar = window_->menuBar();
    QMenu* file = bar->actions().first()->menu();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(bar->actions().first()).center());
    ASSERT_TRUE(QTest::qWaitFor([file] { return file->isVisible(); }, 1000));
    file->close();
    QTest::mouseClick(display().viewport(), Qt::LeftButton, {}, QPoint(600, 400));
    EXPECT_TRUE(measure_.shown.empty());

    // A click afterwards measures as usual.
    QApplication::processEvents();
    QTest::mouseClick(display().viewport(), Qt::LeftButton, {}, QPoint(600, 400));
    EXPECT_EQ(measure_.shown.size(), 1u);
}

}  // namespace
}  // namespace ui_test
