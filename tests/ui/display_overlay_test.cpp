// The catalogue overlay on a rendered field with a known truth: every
// catalogue star to the limiting magnitude inside the image lies within half
// a pixel of its ring once the order of the plate constants matches the
// lens distortion; the rings are painted, named on hover, and a click near
// one in star mode offers that star to the star dialog (which star a click
// picks is tested on the shell).
#include <QHelpEvent>
#include <QToolTip>

#include "main_window_fixture.h"
#include "measure_sky_scene.h"
#include "measure_ui_support.h"
#include "shell/catalogue_overlay.h"

namespace ui_test {
namespace {

using sky_scene::Scene;

constexpr float kLimit = 6.0f;

class DisplayOverlay : public MainWindowTest {};

// The stars measured at their true places with the cubic plate constants
// the lens needs.
TEST_F(DisplayOverlay, EveryStarLiesWithinHalfAPixelOfItsPaintedRingNamedOnHoverAndOfferedOnAClick) {
    SessionData::dlgdat = DialogData{};
    // Orion through a 35 mm lens turned by 8 degrees, with 2.5 pixels of
    // barrel distortion in the corners.
    const Scene scene = sky_scene::MakeScene(
        measure_ui::ShippedCatalogue(), {.camera = {5.55, 1.0, 35, 8, 2.5 / (800.0 * 800 * 800), 1280, 960},
                                         .render_limit = kLimit, .from_u = 420, .from_v = 560, .to_u = 760, .to_v = 400});
    Start(800, 600);
    opt.markcenter = 0;
    opt.limit = kLimit;
    copy_text(opt.skycatdir, measure_ui::ShippedCatalogue().catalogue_dir.string());
    identify_test::WriteBmp((dir_ / "orion.bmp").string(),
                            identify_test::FromTopDown(sky_scene::RenderPhoto(scene, 11), 1280, 960));
    files_.answers.push_back((dir_ / "orion.bmp").string());
    ASSERT_TRUE(Choose(cmd::ImgFileOpen));
    for (const sky_scene::TrueStar& t : scene.chosen) {
        Star st(t.cat, static_cast<float>(t.u * 0.012), static_cast<float>(t.v * 0.012));
        st.raobs = st.ra;
        st.deobs = st.de;
        session().stars.push_back(st);
        ++session().nstar;
    }
    session().order = 3;
    ASSERT_TRUE(Choose(cmd::ImageShowCatalogue));
    const QImage shown = Painted(display().viewport());
    const std::vector<OverlayStar>& rings = display().Overlay().stars();
    // Every rendered star inside the image has its ring within half a pixel.
    int compared = 0;
    for (const sky_scene::TrueStar& t : scene.rendered) {
        if (t.cat.mag > kLimit || t.u < 1 || t.v < 1 || t.u > scene.camera.width - 1 || t.v > scene.camera.height - 1)
            continue;
        const auto r = std::find_if(rings.begin(), rings.end(),
                                    [&](const OverlayStar& o) { return o.star.ra == t.cat.ra && o.star.de == t.cat.de; });
        ASSERT_NE(r, rings.end()) << t.cat.name << " at " << t.u << ", " << t.v;
        EXPECT_LT(std::hypot(r->x / 0.012 - t.u, r->y / 0.012 - t.v), 0.5) << t.cat.name;
        ++compared;
    }
    EXPECT_GT(compared, 100);
    // The same plate solution painted again brings no new search.
    Painted(display().viewport());
    EXPECT_EQ(display().Overlay().searches(), 1);

    const QColor magenta(255, 0, 255);
    const DisplayGeometry& g = display().Transform();
    // An unmeasured ring with no other within 40 image pixels.
    const OverlayStar* lone = nullptr;
    int painted = 0;
    for (const OverlayStar& r : rings) {
        const ScreenPoint c = g.MMtoDC(r.x, r.y);
        const auto ring_at = [&](int dx) { return shown.pixelColor(c.x + r.radius + dx, c.y) == magenta; };
        painted += ring_at(-1) || ring_at(0) || ring_at(1);
        bool alone = true;
        for (const OverlayStar& o : rings)
            if (&o != &r && std::hypot(o.x - r.x, o.y - r.y) < 40 * 0.012) alone = false;
        for (const sky_scene::TrueStar& t : scene.chosen)
            if (std::hypot(t.u * 0.012 - r.x, t.v * 0.012 - r.y) < 40 * 0.012) alone = false;
        if (alone && !lone && c.x > 20 && c.y > 20 && c.x < 780 && c.y < 560) lone = &r;
    }
    EXPECT_GT(painted, static_cast<int>(rings.size() * 8 / 10));
    ASSERT_NE(lone, nullptr);
    const OverlayStar target = *lone;
    const ScreenPoint c = g.MMtoDC(target.x, target.y);

    // Its name on hover.
    QWidget* v = display().viewport();
    QHelpEvent help(QEvent::ToolTip, QPoint(c.x + 2, c.y + 1), v->mapToGlobal(QPoint(c.x + 2, c.y + 1)));
    QApplication::sendEvent(v, &help);
    EXPECT_EQ(QToolTip::text().toStdString(), OverlayStarText(target));
    QToolTip::hideText();

    // A click beside it in star mode offers it.
    QTest::mouseClick(v, Qt::LeftButton, {}, QPoint(c.x + 3, c.y - 2));
    ASSERT_FALSE(measure_.shown.empty());
    EXPECT_EQ(measure_.shown.back().name, target.star.name);

    // Off again: no ring.
    ASSERT_TRUE(Choose(cmd::ImageShowCatalogue));
    EXPECT_NE(Painted(v).pixelColor(c.x + target.radius, c.y), magenta);
}

}  // namespace
}  // namespace ui_test
