// Identify stars automatically on a 24-megapixel 8-bit photograph: star
// detection, the blind plate solution by solve-field, the prediction of the
// catalogue and the centroids, as the menu command runs them (target: under
// 5 s with the Tycho-2 10-19 index). Skipped when the solver is missing.
#include <benchmark/benchmark.h>

#include "identify/identify_stars.h"
#include "identify/star_detection.h"
#include "identify/identify_scene.h"
#include "platform/scripted.h"

namespace {

const identify_test::Picture& Photo24Mp() {
    static const identify_test::Picture picture = [] {
        const int w = 6000, h = 4000;
        // 135 mm at 0.012 mm per pixel: a field 30 degrees wide.
        const auto scene = identify_test::Field(5.6, 3.0, 135, 8, w, h, 7.0f);
        return identify_test::FromTopDown(sky_scene::RenderPhoto(scene, 11), w, h);
    }();
    return picture;
}

void BM_IdentifyStars24Mp(benchmark::State& state) {
    if (const std::string why = identify_test::SolverMissing(); !why.empty()) {
        state.SkipWithError(why.c_str());
        return;
    }
    const identify_test::Picture& picture = Photo24Mp();
    IdentifyRequest request;
    request.files = identify_test::ShippedCatalogue();
    request.limit = 8.0f;
    if (state.range(0) != 0) request.width_deg = 30.8;  // a session's plate scale known
    std::size_t found = 0;
    for (auto _ : state) {
        ScriptedProgress progress;
        const IdentifyResult r = IdentifyStars(picture.View(), request, progress);
        if (r.status != IdentifyStatus::Found) {
            state.SkipWithError("no plate solution");
            return;
        }
        found = r.proposals.size();
    }
    state.counters["stars"] = static_cast<double>(found);
}
BENCHMARK(BM_IdentifyStars24Mp)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_DetectStars24Mp(benchmark::State& state) {
    const identify_test::Picture& picture = Photo24Mp();
    for (auto _ : state) benchmark::DoNotOptimize(DetectStars(picture.View(), 200));
}
BENCHMARK(BM_DetectStars24Mp)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
