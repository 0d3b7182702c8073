// The catalogue overlay on a rendered field with a known truth: every
// catalogue star to the limiting magnitude inside the image lies within half
// a pixel of its ring once the order of the plate constants matches the
// lens distortion; the rings are painted, named on hover, and a click near
// one in star mode offers that star to the star dialog (which star a click
// picks is tested on the shell).
#include <QHelpEvent>
#include <QToolTip>

#include "files/options.h"
#include "main_window_fixture.h"
#include "measure_sky_scene.h"
#include "measure_ui_support.h"
#include "shell/catalogue_overlay.h"

namespace ui_test {
namespace {

using sky_scene::Scene;

constexpr float kLimit = 6.0f;

// Orion through a 35 mm lens turned by 8 degrees, with 2.5 pixels of
// barrel distortion in the corners.
Scene Orion() {
    return sky_scene::MakeScene(measure_ui::ShippedCatalogue(),
                                {.camera = {5.55, 1.0, 35, 8, 2.5 / (800.0 * 800 * 800), 1280, 960},
                                 .render_limit = kLimit, .from_u = 420, .from_v = 560, .to_u = 760, .to_v = 400});
}

// The chosen stars measured exactly at their true places.
void MeasureChosen(SessionData& s, const Scene& scene) {
    for (const sky_scene::TrueStar& t : scene.chosen) {
        Star st(t.cat, static_cast<float>(t.u * 0.012), static_cast<float>(t.v * 0.012));
        st.raobs = st.ra;
        st.deobs = st.de;
        s.stars.push_back(st);
        ++s.nstar;
    }
}

const OverlayStar* RingOf(const std::vector<OverlayStar>& rings, const CatStar& c) {
    for (const OverlayStar& r : rings)
        if (r.star.ra == c.ra && r.star.de == c.de) return &r;
    return nullptr;
}

// The largest distance, in pixels, between a rendered star inside the image
// and its ring; each such star must have one.
double WorstMiss(const Scene& scene, const std::vector<OverlayStar>& rings, int* compared) {
    double worst = 0;
    *compared = 0;
    for (const sky_scene::TrueStar& t : scene.rendered) {
        if (t.cat.mag > kLimit || t.u < 1 || t.v < 1 || t.u > scene.camera.width - 1 || t.v > scene.camera.height - 1)
            continue;
        const OverlayStar* r = RingOf(rings, t.cat);
        EXPECT_NE(r, nullptr) << t.cat.name << " at " << t.u << ", " << t.v;
        if (!r) continue;
        worst = std::max(worst, std::hypot(r->x / 0.012 - t.u, r->y / 0.012 - t.v));
        ++*compared;
    }
    return worst;
}

TEST(CatalogueOverlayTruth, EveryStarLiesWithinHalfAPixelOfItsRingOnceTheOrderMatchesTheDistortion) {
    SessionData::dlgdat = DialogData{};
    const Scene scene = Orion();
    ASSERT_EQ(scene.chosen.size(), 18u);
    SessionData s;
    MeasureChosen(s, scene);
    CatalogueOverlay overlay;
    const CatalogueFiles files = measure_ui::ShippedCatalogue();
    int compared = 0;
    // A new plate solution brings a new search; the same one, none.
    s.order = 1;
    overlay.Update(s, 1280, 960, kLimit, files);
    s.order = 3;
    const double cubic = WorstMiss(scene, overlay.Update(s, 1280, 960, kLimit, files), &compared);
    EXPECT_LT(cubic, 0.5);
    EXPECT_GT(compared, 100);
    overlay.Update(s, 1280, 960, kLimit, files);
    EXPECT_EQ(overlay.searches(), 2);
    std::printf("[ overlay  ] %d stars to mag %.1f: worst %.3f px at order 3\n", compared, kLimit, cubic);
}

class DisplayOverlay : public MainWindowTest {};

TEST_F(DisplayOverlay, RingsArePaintedNamedOnHoverAndAClickNearOneOffersItsStar) {
    SessionData::dlgdat = DialogData{};
    const Scene scene = Orion();
    const std::vector<std::uint8_t> pixels = sky_scene::RenderPhoto(scene, 11);
    Start(800, 600);
    opt.markcenter = 0;
    opt.limit = kLimit;
    copy_text(opt.skycatdir, measure_ui::ShippedCatalogue().catalogue_dir.string());
    files_.answers.push_back(WriteBmpFile(dir_ / "orion.bmp", 1280, 960, [&](int c, int r) {
        return pixels[static_cast<std::size_t>(r) * 1280 + c];
    }));
    ASSERT_TRUE(Choose(cmd::ImgFileOpen));
    MeasureChosen(session(), scene);
    session().order = 3;
    ASSERT_TRUE(Choose(cmd::ImageShowCatalogue));
    EXPECT_TRUE(window_->CommandAction(cmd::ImageShowCatalogue)->isChecked());
    const QImage shown = Painted(display().viewport());
    const std::vector<OverlayStar>& rings = display().Overlay().stars();
    ASSERT_GT(rings.size(), 100u);

    const QColor magenta(255, 0, 255);
    const DisplayGeometry& g = display().Transform();
    auto ring_painted = [&](const OverlayStar& r) {
        const ScreenPoint c = g.MMtoDC(r.x, r.y);
        for (int d = -1; d <= 1; ++d)
            if (shown.pixelColor(c.x + r.radius + d, c.y) == magenta) return true;
        return false;
    };
    // An unmeasured ring with no other within 40 image pixels.
    const OverlayStar* lone = nullptr;
    int painted = 0;
    for (const OverlayStar& r : rings) {
        painted += ring_painted(r);
        bool alone = true;
        for (const OverlayStar& o : rings)
            if (&o != &r && std::hypot(o.x - r.x, o.y - r.y) < 40 * 0.012) alone = false;
        for (const sky_scene::TrueStar& t : scene.chosen)
            if (std::hypot(t.u * 0.012 - r.x, t.v * 0.012 - r.y) < 40 * 0.012) alone = false;
        const ScreenPoint c = g.MMtoDC(r.x, r.y);
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
