// The image view zoomed and panned, and the residual arrows, as painted:
// the wheel zooms about the pointer in steps of sqrt(2) up to 8x, the
// picture, the markers, the click and the pick follow, the middle button
// and Space + drag pan, and a menu command of a mode ends the zoom.
#include <QScrollBar>
#include <QWheelEvent>
#include <cmath>

#include "main_window_fixture.h"
#include "session/fixed_text.h"
#include "session/plate_solution.h"
#include "shell/display_pick.h"
#include "shell/residual_vectors.h"

namespace ui_test {
namespace {

std::uint8_t Pattern(int column, int row) { return static_cast<std::uint8_t>((column * 7 + row * 3) % 256); }

class DisplayZoom : public MainWindowTest {
protected:
    void Wheel(QPoint p, int notches) {
        QWidget* v = display().viewport();
        QWheelEvent e(QPointF(p), QPointF(v->mapToGlobal(p)), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(v, &e);
        QApplication::processEvents();
    }
    // The image pixel a left click at p starts a measurement on.
    ImagePixel ClickedPixel(QPoint p) {
        QTest::mouseClick(display().viewport(), Qt::LeftButton, {}, p);
        return {measure_.shown.back().column, measure_.shown.back().row};
    }
    // The selection a right click at p makes, nothing opened.
    int Picked(QPoint p) {
        return ChooseDisplayContext(session(), display().Transform(), p.x(), p.y(), false).iselect;
    }
    // Every painted picture pixel in a row of 40 from q shows the image pixel
    // the view's transform puts there; returns how many image columns they span.
    int CheckPicture(QPoint q) {
        const QImage shown = Painted(display().viewport());
        int columns = 0, last = -1;
        for (int i = 0; i < 40; ++i) {
            const ImagePixel p = display().Transform().ClickToPixel(q.x() + i, q.y());
            const int v = Pattern(p.column, p.row);
            EXPECT_EQ(shown.pixelColor(q.x() + i, q.y()), QColor(v, v, v)) << q.x() + i;
            if (p.column != last) ++columns;
            last = p.column;
        }
        return columns;
    }
};

TEST_F(DisplayZoom, TheWheelZoomsAboutThePointerToEightTimesAndTheMarkersClickAndPickFollow) {
    Start(600, 400);
    opt.markcenter = 0;
    files_.answers.push_back(WriteBmpFile(dir_ / "ph990812.bmp", 1200, 800, Pattern));
    ASSERT_TRUE(Choose(cmd::ImgFileOpen));
    ASSERT_TRUE(Choose(cmd::ImagePixel));
    const QPoint p(250, 140);
    CatStar cat;
    copy_text(cat.name, "Alp Per");
    measure_.stars_to_add.push_back(Star(cat, 250 * 0.012f, (799 - 140) * 0.012f));
    ASSERT_EQ(ClickedPixel(p), (ImagePixel{250, 140}));
    ASSERT_EQ(session().nstar, 1u);

    Wheel(p, 2);  // 2x
    EXPECT_FALSE(display().horizontalScrollBar()->isVisible());
    EXPECT_EQ(ClickedPixel(p), (ImagePixel{250, 140}));
    EXPECT_EQ(ClickedPixel(p + QPoint(20, -20)), (ImagePixel{260, 130}));
    EXPECT_NEAR(CheckPicture({300, 200}), 20, 1);

    Wheel(p, 9);  // stops at 8x
    EXPECT_EQ(ClickedPixel(p), (ImagePixel{250, 140}));
    EXPECT_EQ(ClickedPixel(p + QPoint(8, 0)), (ImagePixel{251, 140}));
    EXPECT_EQ(Painted(display().viewport()).pixelColor(p), QColor(0, 128, 0)) << "the star's marker";
    EXPECT_NEAR(CheckPicture({300, 200}), 5, 1);
    // The pick reaches 10 pane pixels at any zoom.
    EXPECT_EQ(Picked(p + QPoint(0, 8)), 0);
    EXPECT_EQ(Picked(p + QPoint(0, 12)), -1);

    // The middle button pans; so does the left one with Space held, and
    // that drag measures nothing.
    QWidget* v = display().viewport();
    QTest::mousePress(v, Qt::MiddleButton, {}, p);
    QTest::mouseMove(v, p - QPoint(80, 0));
    QTest::mouseRelease(v, Qt::MiddleButton, {}, p - QPoint(80, 0));
    EXPECT_EQ(ClickedPixel(p), (ImagePixel{260, 140}));
    const std::size_t measured = measure_.shown.size();
    QTest::keyPress(&display(), Qt::Key_Space);
    QTest::mousePress(v, Qt::LeftButton, {}, p);
    QTest::mouseMove(v, p + QPoint(0, 40));
    QTest::mouseRelease(v, Qt::LeftButton, {}, p + QPoint(0, 40));
    QTest::keyRelease(&display(), Qt::Key_Space);
    EXPECT_EQ(measure_.shown.size(), measured);
    EXPECT_EQ(ClickedPixel(p), (ImagePixel{260, 135}));

    // Original pixels again, exactly as before the zoom.
    ASSERT_TRUE(Choose(cmd::ImagePixel));
    EXPECT_EQ(ClickedPixel(p), (ImagePixel{250, 140}));
    EXPECT_TRUE(display().horizontalScrollBar()->isVisible());
    EXPECT_EQ(CheckPicture({300, 200}), 40);

    // From fit mode the wheel goes in and back out to fit; no further.
    ASSERT_TRUE(Choose(cmd::ImageZoom));
    Wheel(p, 1);
    EXPECT_TRUE(display().Transform().Zoomed());
    Wheel(p, -1);
    EXPECT_EQ(sf.dispmode, kFitMode);
    Wheel(p, -1);
    EXPECT_FALSE(display().Transform().Zoomed());
    EXPECT_EQ(ClickedPixel({300, 190}), (ImagePixel{600, 398}));  // 2 image pixels a pane pixel
}

TEST_F(DisplayZoom, ResidualArrowsAreDrawnFromEachStarWithTheirScaleInTheCorner) {
    StartOnExample(600, 400);
    const QColor yellow(255, 255, 0), cyan(0, 255, 255);
    session().fhide(4);
    ASSERT_TRUE(Choose(cmd::ImageShowResiduals));
    Wheel({300, 190}, 1);  // the arrows keep their length at any zoom

    // Where the arrows go is computed and tested on the core; here a point
    // on each long shaft, well clear of the marker and the head, is painted.
    const ResidualVectors r = ComputeResidualVectors(session(), SolvePlate(session()), display().Transform());
    ASSERT_EQ(r.arrows.size(), 19u);
    QImage shown = Painted(display().viewport());
    int yellow_shafts = 0;
    for (const ResidualArrow& a : r.arrows) {
        const double length = std::hypot(a.to_x - a.from.x, a.to_y - a.from.y);
        const QPoint q(static_cast<int>(std::lround(a.from.x + 12 / length * (a.to_x - a.from.x))),
                       static_cast<int>(std::lround(a.from.y + 12 / length * (a.to_y - a.from.y))));
        if (length < 20 || !QRect(0, 0, 600, 381).contains(q)) continue;
        if (a.hidden) {
            EXPECT_EQ(shown.pixelColor(q), cyan) << a.star;
        }
        yellow_shafts += !a.hidden && shown.pixelColor(q) == yellow;
    }
    EXPECT_GE(yellow_shafts, 8);
    // The scale in the bottom left corner: yellow text on black.
    EXPECT_EQ(shown.pixelColor(5, 381 - 6), QColor(0, 0, 0));
    ASSERT_TRUE(Choose(cmd::ImageShowResiduals));
    shown = Painted(display().viewport());
    EXPECT_EQ(shown.pixelColor(5, 381 - 6), QColor(40, 40, 40));
}

}  // namespace
}  // namespace ui_test
