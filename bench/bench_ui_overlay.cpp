// The catalogue overlay's share of a repaint of the image view: 2 000 rings
// over a 1600 x 1000 pane, as DrawCatalogueRings draws them. The target is
// under 5 ms.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <random>

#include "ui/app/display_window.h"

namespace {

void BM_CatalogueRings(benchmark::State& state) {
    const int w = 4000, h = 2500;
    DisplayGeometry g;
    g.SetImageSize(w, h);
    g.SetClientArea(1600, 1000);
    g.SetMode(kFitMode);
    std::mt19937 random(7);
    std::uniform_real_distribution<float> x(0.0f, w * 0.012f), y(0.0f, h * 0.012f), mag(-1.0f, 8.0f);
    std::vector<OverlayStar> stars(static_cast<std::size_t>(state.range(0)));
    for (OverlayStar& s : stars) {
        s.x = x(random);
        s.y = y(random);
        s.radius = RingRadius(mag(random));
    }
    QImage pane(1600, 1000, QImage::Format_RGB32);
    pane.fill(Qt::black);
    for (auto _ : state) {
        QPainter painter(&pane);
        DrawCatalogueRings(painter, stars, g);
    }
}
BENCHMARK(BM_CatalogueRings)->Arg(2000)->Unit(benchmark::kMillisecond);

}  // namespace
