// The recovery copy written after every change of unsaved work, for 200
// stars (each measured twice) and 100 meteor points: it must cost no
// noticeable pause, well under 5 ms.
// Run: build/bench/velkarn_bench --benchmark_filter=Recovery

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

#include "bench_session.h"
#include "shell/recovery_copy.h"
#include "shell/recovery_file.h"

namespace {
using bench::BenchSession;

struct RecoveryBench {
    BenchSession b{200};
    RecoveryImage image{"/home/observer/films/2024-08-12/ph990812.bmp", ImageType::Still, 1000, 700, 0};

    RecoveryBench() {
        for (int j = 50; j < 100; ++j) b.s.AddMetPnt(Meteor(3.0f + 0.1f * j, 2.0f + 0.07f * j, j));
        for (unsigned i = 0; i < b.s.nstar; ++i) b.s.ReplayStar(static_cast<int>(i), b.s.fxstr(i), b.s.fystr(i));
        for (unsigned i = 0; i < b.s.nmet; ++i) b.s.ReplayMetPnt(static_cast<int>(i), b.s.fxmet(i), b.s.fymet(i));
        b.s.nreplay = 1;
    }
    // A change as a click makes one: a point measured again.
    void Change(int step) { b.s.meteors[0].x[1] = 3.0f + 0.001f * (step % 1000); }
};

void BM_RecoveryCopyText(benchmark::State& state) {
    RecoveryBench r;
    for (auto _ : state) benchmark::DoNotOptimize(RecoveryText(r.b.s, r.image));
}
BENCHMARK(BM_RecoveryCopyText)->Unit(benchmark::kMillisecond);

// All that follows a change: the text made, compared with the last one and
// renamed into place.
void BM_RecoveryCopyAfterAChange(benchmark::State& state) {
    RecoveryBench r;
    const auto dir = std::filesystem::temp_directory_path() / ("velkarn_bench_recovery_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    RecoveryCopy copy(RecoveryCopyPath(dir));
    int step = 0;
    for (auto _ : state) {
        r.Change(++step);
        if (!copy.Keep(RecoveryText(r.b.s, r.image))) state.SkipWithError("the copy cannot be written");
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(copy.file()));
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_RecoveryCopyAfterAChange)->Unit(benchmark::kMillisecond);

// A command that changed nothing the copy holds: the text made and compared.
void BM_RecoveryCopyUnchanged(benchmark::State& state) {
    RecoveryBench r;
    const auto dir = std::filesystem::temp_directory_path() / ("velkarn_bench_recovery_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    RecoveryCopy copy(RecoveryCopyPath(dir));
    copy.Keep(RecoveryText(r.b.s, r.image));
    for (auto _ : state) benchmark::DoNotOptimize(copy.Keep(RecoveryText(r.b.s, r.image)));
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_RecoveryCopyUnchanged)->Unit(benchmark::kMillisecond);

}  // namespace
