// The right button in the image view: the pick of the nearest measurement
// and the context menu it opens with its items. (Its items act in the
// recovery and observation tests; the commands behind them are tested on
// the shell.)
#include "files/options.h"
#include "main_window_fixture.h"
#include "session/fixed_text.h"

namespace ui_test {
namespace {

class DisplayContextMenu : public MainWindowTest {
protected:
    // The example photograph measured on an image of its size, shown at
    // original pixels in a pane as large as the image, so that pane and
    // image pixels coincide.
    void MeasuredPhotograph() {
        StartOnExample(1200, 800 + 19);
        ASSERT_TRUE(Choose(cmd::ImagePixel));
    }
    std::vector<std::string> RightClick(QPoint p, std::function<void(QMenu*)> then = {}) {
        return MainWindowTest::RightClick(display().viewport(), p, std::move(then));
    }
    // A meteor point well away from every star.
    int LonelyPoint() {
        for (unsigned int j = 0; j < session().nmet; ++j) {
            bool alone = true;
            for (unsigned int i = 0; i < session().nstar; ++i)
                if ((StarPixel(i) - PointPixel(j)).manhattanLength() < 30) alone = false;
            if (alone) return static_cast<int>(j);
        }
        return -1;
    }
};

TEST_F(DisplayContextMenu, EachKindOfMeasurementOffersItsOwnMenu) {
    MeasuredPhotograph();
    const std::vector<std::string> star = {"&Hide for analysis", "&Switch to analysis", "&Delete"};
    EXPECT_EQ(RightClick(StarPixel(4) + QPoint(3, -2)), star);
    const int j = LonelyPoint();
    ASSERT_GE(j, 0);
    copy_text(session().meteors[j].label, "");
    const std::vector<std::string> point = {"Mark as &maximum", "&Edit label", "&Switch to analysis", "&Delete"};
    EXPECT_EQ(RightClick(PointPixel(j)), point);
    copy_text(session().meteors[j].label, "Maximum");
    EXPECT_EQ(RightClick(PointPixel(j))[0], "Unmark as &maximum");
    // Far from every measurement: only the switch; the selection is cleared.
    EXPECT_EQ(RightClick(QPoint(1190, 10)), std::vector<std::string>{"&Switch to analysis"});
    EXPECT_EQ(SelectedStar::iselect, -1);
    // The switch shows the table and keeps the star selected.
    RightClick(StarPixel(2), [](QMenu* m) { ClickItem(m, cmd::CtxSwitch); });
    EXPECT_EQ(sf.analysis, 1);
    EXPECT_TRUE(analysis().isVisible());
    EXPECT_FALSE(display().isVisible());
    EXPECT_EQ(SelectedStar::iselect, 2);
}

TEST_F(DisplayContextMenu, WithoutStarsAFarClickOpensNoMenuAndAPointMenuHasNoSwitch) {
    Start(600, 400);
    OpenImage(300, 200);
    ASSERT_TRUE(Choose(cmd::ImagePixel));
    session().AddMetPnt(Meteor(100 * 0.012f, (199 - 50) * 0.012f, 0));
    EXPECT_EQ(RightClick(QPoint(250 + 150, 150 + 90)), std::vector<std::string>{"(no menu)"});
    const std::vector<std::string> point = {"Mark as &maximum", "&Edit label", "&Delete"};
    EXPECT_EQ(RightClick(QPoint(100 + 150, 50 + 90)), point);
}

TEST_F(DisplayContextMenu, AClickPendingOnTheImageWhenAMenuClosesStartsNoMeasurement) {
    MeasuredPhotograph();
    // The click that dismisses a menu arrives at the image view in the
    // same turn as the menu closes; it must not open a measuring dialog.
    RightClick(QPoint(1190, 10), [this](QMenu* menu) {
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
