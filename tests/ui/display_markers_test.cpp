// The image view as painted: the picture in fit mode and at original
// pixels, every marker at its place in its colour, the plate-centre mark,
// and the left click turned into the image pixel a measurement starts at.
#include <QScrollBar>
#include <cmath>

#include "main_window_fixture.h"
#include "session/fixed_text.h"

namespace ui_test {
namespace {

const QColor kGreen(0, 128, 0), kWhite(255, 255, 255), kPicture(40, 40, 40);

// The device position of a plate position, worked out here from the image
// and pane sizes alone: fit mode scales by AreaWidth / W and AreaHeight / H,
// original pixels add the centring offsets.
QPoint FitPosition(float x, float y, int W, int H, int pane_w, int pane_h) {
    float px = 250.0f / 3.0f * x;
    float py = static_cast<float>(H - 1) - 250.0f / 3.0f * y;
    const int area_w = (pane_w + 3) / 4 * 4;
    px = px * area_w / W;
    py = py * pane_h / H;
    return QPoint(static_cast<int>(px + 0.5f), static_cast<int>(py + 0.5f));
}

// Whether no other marker of the session lies within 8 pixels of p, so that
// p's own colour shows.
bool StandsAlone(const std::vector<QPoint>& all, std::size_t i) {
    for (std::size_t j = 0; j < all.size(); ++j)
        if (j != i && std::abs(all[j].x() - all[i].x()) < 8 && std::abs(all[j].y() - all[i].y()) < 8) return false;
    return true;
}

class DisplayView : public MainWindowTest {};

TEST_F(DisplayView, FitModeShrinksALargerImageOverThePaneAndDrawsEveryMarkerWhereItsPlatePositionFalls) {
    StartOnExample(600, 400);
    ASSERT_EQ(session().nmet, 12u);
    const int pane_w = 600, pane_h = 400 - 19;
    ASSERT_EQ(display().viewport()->size(), QSize(pane_w, pane_h));

    std::vector<QPoint> at;
    std::vector<QColor> colour;
    for (unsigned int i = 0; i < session().nstar; ++i) {
        at.push_back(FitPosition(session().fxstr(i), session().fystr(i), 1200, 800, pane_w, pane_h));
        colour.push_back(kGreen);
    }
    for (unsigned int j = 0; j < session().nmet; ++j) {
        at.push_back(FitPosition(session().fxmet(j), session().fymet(j), 1200, 800, pane_w, pane_h));
        const std::string label = session().meteors[j].label;
        colour.push_back(label.rfind("Maximum", 0) == 0 ? QColor(128, 128, 255) : QColor(0, 0, 255));
    }
    const QImage shown = Painted(display().viewport());
    int checked = 0;
    for (std::size_t i = 0; i < at.size(); ++i) {
        if (!StandsAlone(at, i)) continue;
        const QPoint p = at[i];
        EXPECT_EQ(shown.pixelColor(p), colour[i]) << "marker " << i << " at " << p.x() << "," << p.y();
        // The white outline three pixels out, the picture beyond it.
        EXPECT_EQ(shown.pixelColor(p.x() - 3, p.y()), kWhite) << "marker " << i;
        EXPECT_EQ(shown.pixelColor(p.x() - 5, p.y()), kPicture) << "marker " << i;
        ++checked;
    }
    EXPECT_GE(checked, 15);
    // The picture covers the whole pane: no background anywhere.
    EXPECT_EQ(shown.pixelColor(0, 0), kPicture);
    EXPECT_EQ(shown.pixelColor(pane_w - 1, pane_h - 1), kPicture);
    EXPECT_FALSE(display().horizontalScrollBar()->isVisible());
}

TEST_F(DisplayView, OriginalPixelsCentreASmallerImageAndItsMarkersWithTheSelectionRedTheHiddenStarBrownAndTheCentreMarked) {
    Start(600, 400);
    opt.markcenter = 0;
    OpenImage(300, 200);
    ASSERT_TRUE(Choose(cmd::ImagePixel));
    const int ox = (600 - 300) / 2;
    const int oy = (381 - 200) / 2;

    // Three stars measured by clicks on their pixels.
    const QPoint pixels[] = {{40, 30}, {250, 60}, {120, 170}};
    const char* names[] = {"Alp Per", "Bet Per", "Gam Per"};
    for (int i = 0; i < 3; ++i) {
        CatStar cat;
        copy_text(cat.name, names[i]);
        measure_.stars_to_add.push_back(Star(cat, pixels[i].x() * 0.012f, (199 - pixels[i].y()) * 0.012f));
        QTest::mouseClick(display().viewport(), Qt::LeftButton, {}, pixels[i] + QPoint(ox, oy));
        ASSERT_EQ(measure_.shown.size(), static_cast<std::size_t>(i + 1));
        EXPECT_EQ(QPoint(measure_.shown.back().column, measure_.shown.back().row), pixels[i]);
    }
    ASSERT_EQ(session().nstar, 3u);

    // The second star hidden from its context menu; the third selected
    // with the right button, its colour read while the menu is open.
    WhenPopup([](QMenu* menu) { ClickItem(menu, cmd::CtxHide); });
    QTest::mouseClick(display().viewport(), Qt::RightButton, {}, pixels[1] + QPoint(ox, oy));
    ASSERT_EQ(session().nhide, 1u);

    QImage while_open;
    WhenPopup([&](QMenu* menu) {
        while_open = Painted(display().viewport());
        menu->close();
    });
    QTest::mouseClick(display().viewport(), Qt::RightButton, {}, pixels[2] + QPoint(ox + 2, oy + 1));
    EXPECT_EQ(while_open.pixelColor(pixels[2] + QPoint(ox, oy)), QColor(255, 0, 0));
    EXPECT_EQ(while_open.pixelColor(pixels[0] + QPoint(ox, oy)), kGreen);
    EXPECT_EQ(while_open.pixelColor(pixels[1] + QPoint(ox, oy)), QColor(128, 64, 0));

    // Dismissed: the selection goes, the marker is green again.
    const QImage after = Painted(display().viewport());
    EXPECT_EQ(SelectedStar::iselect, -1);
    EXPECT_EQ(after.pixelColor(pixels[2] + QPoint(ox, oy)), kGreen);
    // The border around the centred picture is background; the picture
    // starts at the centring offsets.
    EXPECT_EQ(after.pixelColor(ox - 1, oy + 5), kWhite);
    EXPECT_EQ(after.pixelColor(ox, oy), kPicture);
    EXPECT_EQ(after.pixelColor(ox + 300, oy + 199), kWhite);
    // A click on the border measures nothing.
    QTest::mouseClick(display().viewport(), Qt::LeftButton, {}, QPoint(ox - 1, 100));
    QTest::mouseClick(display().viewport(), Qt::LeftButton, {}, QPoint(ox + 300, 100));
    EXPECT_EQ(measure_.shown.size(), 3u);

    // The plate-centre mark (where, is tested on the markers) follows its
    // option with the check mark: the image's centre is column 150, row 99.
    const QPoint centre(ox + 150, oy + 99);
    ASSERT_TRUE(Choose(cmd::OptionMarkCenter));
    EXPECT_EQ(Painted(display().viewport()).pixelColor(centre), QColor(0, 0, 0));
    ASSERT_TRUE(Choose(cmd::OptionMarkCenter));
    EXPECT_EQ(opt.markcenter, 0u);
    EXPECT_EQ(Painted(display().viewport()).pixelColor(centre), kPicture);
}

}  // namespace
}  // namespace ui_test
