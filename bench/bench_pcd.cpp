// Loading a Photo CD image pac at each resolution step, the highest (16Base,
// 3072 x 2048, decoded through the 4Base and 16Base residuals) above all.
#include <benchmark/benchmark.h>

#include "image/pcd_file_image.h"
#include "platform/scripted.h"

// The image pac writer of the tests, so the benchmark decodes the same
// residual streams the tests check.
#include "../tests/image/pcd_test_files.cpp"

namespace {

const std::string& BenchPac() {
    static const std::string path = [] {
        const auto p = pcd_test::ScratchPath("bench.pcd");
        pcd_test::WriteBytes(p, pcd_test::FullImagePac());
        return p.string();
    }();
    return path;
}

void BM_PcdLoad(benchmark::State& state) {
    const int step = static_cast<int>(state.range(0));
    const std::string& path = BenchPac();
    for (auto _ : state) {
        ScriptedProgress progress;
        const auto image = LoadPhotoCD(progress, path, step);
        if (image->status != 0) state.SkipWithError("Photo CD load failed");
        benchmark::DoNotOptimize(image->picture.data());
    }
    const pcd::Size size = pcd::StepSize(step);
    state.counters["pixels"] = static_cast<double>(size.width) * size.height;
}
BENCHMARK(BM_PcdLoad)->DenseRange(2, 5)->Unit(benchmark::kMillisecond);

}  // namespace
