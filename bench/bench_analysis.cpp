// The analysis view: rebuilding its rows after a change (the reduction pass
// over every star with its hidden state reversed, then the row texts), and
// what a paint without recomputation prepares from the cached rows.
// Run: build/bench/velkarn_bench --benchmark_filter=Analysis

#include <benchmark/benchmark.h>

#include "bench_session.h"
#include "session/reduction_report.h"
#include "shell/analysis_table.h"

namespace {
using bench::BenchSession;

void BM_AnalysisRebuild(benchmark::State& state) {
    BenchSession b(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        AnalysisTable t = RebuildAnalysisTable(b.s);
        benchmark::DoNotOptimize(t.rows.data());
    }
}
BENCHMARK(BM_AnalysisRebuild)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

// The row texts alone, from a finished reduction report.
void BM_AnalysisRowTexts(benchmark::State& state) {
    BenchSession b(static_cast<int>(state.range(0)));
    const ReductionReport report = ReduceStars(b.s);
    for (auto _ : state) {
        AnalysisTable t = MakeAnalysisTable(b.s, report);
        benchmark::DoNotOptimize(t.rows.data());
    }
}
BENCHMARK(BM_AnalysisRowTexts)->Arg(1000)->Unit(benchmark::kMicrosecond);

// A paint of a 1000-star table: the scroll state, the tab stops and the
// items of the rows that fit a 1000-pixel pane.
void BM_AnalysisPaintItems(benchmark::State& state) {
    BenchSession b(1000);
    const AnalysisTable t = RebuildAnalysisTable(b.s);
    for (auto _ : state) {
        const AnalysisScroll scroll = UpdateScrollBar(1200, 1000, 16, 16, static_cast<int>(b.s.nstar), 500);
        const AnalysisTabs tabs = AnalysisTabStops(1200, 16, scroll.shown);
        std::vector<AnalysisText> items = AnalysisPaintItems(t, b.s, scroll, tabs, 16, 3);
        benchmark::DoNotOptimize(items.data());
    }
}
BENCHMARK(BM_AnalysisPaintItems)->Unit(benchmark::kMicrosecond);
}  // namespace
