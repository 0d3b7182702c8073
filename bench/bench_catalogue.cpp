// Catalogue searches on the shipped catalogue (data/catalogue): record reads
// per search and time per search with a warm page cache.
//
//   velkarn_bench --benchmark_filter=Catalogue
//
// Arguments of the position search: radius in tenths of a degree, then the
// declination in degrees; the limiting magnitude is 8.0. Each iteration
// searches at the next of 24 right ascensions (0.5 h, 1.5 h, ...), so the
// counters are averages over the whole circle.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "catalogue/sky_cat.h"

namespace {

const CatalogueFiles kFiles{std::filesystem::path(VELKARN_SOURCE_DIR) / "data" / "catalogue",
                            std::filesystem::path(VELKARN_SOURCE_DIR) / "data" / "catalogue"};

void BM_CataloguePositionSearch(benchmark::State& state) {
    const float radius = state.range(0) / 10.0f;
    const float de = static_cast<float>(state.range(1));
    long reads = 0;
    long found = 0;
    int k = 0;
    for (auto _ : state) {
        const SkyCat cat(kFiles, 0.5f + k, de, radius, 8.0f);
        if (cat.status == SkyCatStatus::FileError) {
            state.SkipWithError("data/catalogue/skycat.dat cannot be read");
            return;
        }
        reads += cat.reads;
        found += cat.count;
        benchmark::DoNotOptimize(cat.candidates.data());
        k = (k + 1) % 24;
    }
    state.counters["reads"] = benchmark::Counter(static_cast<double>(reads), benchmark::Counter::kAvgIterations);
    state.counters["stars"] = benchmark::Counter(static_cast<double>(found), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_CataloguePositionSearch)
    ->ArgNames({"r_tenths", "de"})
    ->ArgsProduct({{5, 50}, {0, 60, 85, 89}})
    ->Unit(benchmark::kMicrosecond);

void BM_CatalogueNameSearch(benchmark::State& state) {
    long reads = 0;
    for (auto _ : state) {
        const SkyCat cat(kFiles, "58 Ori", 0.5f);
        if (cat.status != SkyCatStatus::Found) {
            state.SkipWithError("58 Ori not found in data/catalogue");
            return;
        }
        reads += cat.reads;
    }
    state.counters["reads"] = benchmark::Counter(static_cast<double>(reads), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_CatalogueNameSearch)->Unit(benchmark::kMicrosecond);

}  // namespace
