// The residual computation and the analysis view's per-star sweep.
// Run: build/bench/velkarn_bench --benchmark_filter=Reduction

#include <benchmark/benchmark.h>

#include "bench_session.h"

namespace {
using bench::BenchSession;

void BM_ReductionCalculateOC(benchmark::State& state) {
    BenchSession b(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        b.s.CalculateOC();
        benchmark::DoNotOptimize(b.s.sd);
    }
}
BENCHMARK(BM_ReductionCalculateOC)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

// What the analysis view computes on each redraw: every star left out (or
// put back) in turn, for its trial standard deviation and surround.
void BM_ReductionAnalysisSweep(benchmark::State& state) {
    BenchSession b(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        for (unsigned k = 0; k < b.s.nstar; ++k) {
            b.TrialResiduals(k);
            benchmark::DoNotOptimize(b.s.Getsurround(static_cast<int>(k)));
        }
    }
}
BENCHMARK(BM_ReductionAnalysisSweep)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

// The two halves of the sweep on their own.
void BM_ReductionSweepResidualsOnly(benchmark::State& state) {
    BenchSession b(static_cast<int>(state.range(0)));
    for (auto _ : state)
        for (unsigned k = 0; k < b.s.nstar; ++k) b.TrialResiduals(k);
}
BENCHMARK(BM_ReductionSweepResidualsOnly)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_ReductionSweepSurroundOnly(benchmark::State& state) {
    BenchSession b(static_cast<int>(state.range(0)));
    for (auto _ : state)
        for (unsigned k = 0; k < b.s.nstar; ++k) benchmark::DoNotOptimize(b.s.Getsurround(static_cast<int>(k)));
}
BENCHMARK(BM_ReductionSweepSurroundOnly)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
}  // namespace
