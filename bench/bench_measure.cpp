// The measuring dialogs: one repaint of the magnifier, and the automatic
// identification of a clicked star (from the click to the list), with its
// two parts, the catalogue search and the trials of the candidates.
//
//   velkarn_bench --benchmark_filter=Measure
//
// Targets: a repaint (80 x 80 -> 320 x 320 with 100 markers) well under
// 1 ms; the identification with 200 stars in the session and 20 candidates
// in the search box under 50 ms.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "bench_session.h"
#include "catalogue/sky_cat.h"
#include "catalogue/star_identification.h"
#include "image/packed_dib.h"
#include "measure/magnifier_render.h"
#include "measure/star_dialog.h"
#include "platform/message_box.h"
#include "platform/raster_canvas.h"

namespace {

const CatalogueFiles kFiles{std::filesystem::path(VELKARN_SOURCE_DIR) / "data" / "catalogue",
                            std::filesystem::path(VELKARN_SOURCE_DIR) / "data" / "catalogue"};

class Quiet : public MessageBoxService {
public:
    MbAnswer Show(const std::string&, const std::string&, MbButtons, MbIcon) override { return MbAnswer::Ok; }
};

void BM_MeasureMagnifierRepaint(benchmark::State& state) {
    bench::BenchImage image;
    image.picture = packed_dib::MakeGreyDib(image.width, image.height);
    for (int r = 0; r < image.height; ++r)
        for (int c = 0; c < image.width; ++c)
            packed_dib::Row(image.picture, image.width, r)[c] = static_cast<std::uint8_t>(c * 7 + r * 3);
    CurrentImage current(&image);
    SessionData s;
    // 100 stars inside the window at origin (400, 300).
    std::mt19937 rng(5);
    std::uniform_real_distribution<float> ux(400 * 0.012f, 480 * 0.012f), uy(300 * 0.012f, 380 * 0.012f);
    for (int i = 0; i < 100; ++i) {
        CatStar c;
        s.AddStar(Star(c, ux(rng), uy(rng)), 0);
    }
    Magnifier control(WindowOrigin{400, 300});
    control.Click({150, 170}, image.width, image.height);
    RasterCanvas canvas(320, 320);
    for (auto _ : state) {
        const auto markers = MagnifierMarkers(s, control.origin(), true, WindowCentreReference(control.origin()));
        RenderMagnifier(canvas, &image, control, markers);
        benchmark::DoNotOptimize(canvas.At(160, 160));
    }
}
BENCHMARK(BM_MeasureMagnifierRepaint)->Unit(benchmark::kMicrosecond);

// The benchmark session of 200 stars, and a search radius that finds 20
// candidates round the sky position of the image's centre.
struct IdentificationSetup {
    bench::BenchSession b{200};
    float ra = 0.0f, de = 0.0f, radius = 0.5f;
    std::vector<CatStar> candidates;
    const float x = 6.0f, y = 4.2f;  // the clicked plate position, mm

    IdentificationSetup() {
        b.s.EstimateRADE(x, y, ra, de);
        float lo = 0.1f, hi = 5.0f;
        for (int i = 0; i < 30; ++i) {
            radius = 0.5f * (lo + hi);
            const SkyCat cat(kFiles, ra, de, radius, 8.0f);
            if (cat.count == 20) break;
            (cat.count < 20 ? lo : hi) = radius;
        }
        candidates = SkyCat(kFiles, ra, de, radius, 8.0f).candidates;
    }
};

void BM_MeasureIdentificationFromClickToList(benchmark::State& state) {
    IdentificationSetup setup;
    if (setup.candidates.empty()) {
        state.SkipWithError("data/catalogue/skycat.dat cannot be read");
        return;
    }
    Quiet quiet;
    const int column = static_cast<int>(setup.x * 250 / 3);
    const int row = static_cast<int>(setup.b.image.height - 0.25 - setup.y * 250 / 3);
    for (auto _ : state) {
        StarDialog d(setup.b.s, setup.b.image, column, row, quiet, {kFiles, setup.radius, 8.0f, std::nullopt});
        d.Click({160, 159});
        benchmark::DoNotOptimize(d.lines().data());
    }
    state.counters["candidates"] = static_cast<double>(setup.candidates.size());
}
BENCHMARK(BM_MeasureIdentificationFromClickToList)->Unit(benchmark::kMillisecond);

void BM_MeasureIdentificationSearchOnly(benchmark::State& state) {
    IdentificationSetup setup;
    for (auto _ : state) {
        const SkyCat cat(kFiles, setup.ra, setup.de, setup.radius, 8.0f);
        benchmark::DoNotOptimize(cat.candidates.data());
    }
}
BENCHMARK(BM_MeasureIdentificationSearchOnly)->Unit(benchmark::kMillisecond);

void BM_MeasureIdentificationTrialsOnly(benchmark::State& state) {
    IdentificationSetup setup;
    for (auto _ : state) {
        const CandidateRanking r = RankCandidates(setup.b.s, setup.candidates, setup.x, setup.y);
        benchmark::DoNotOptimize(r.lines.data());
    }
}
BENCHMARK(BM_MeasureIdentificationTrialsOnly)->Unit(benchmark::kMillisecond);

}  // namespace
