// Video sources on 1920 x 1080 H.264 videos of 300 frames with B-frames, at a
// camera-like keyframe interval of 25 and at the encoder's default of 250
// (the argument): opening plus the average, the next frame after the current
// one, and a random frame.
// Targets: open + average under 1 s, next frame under 15 ms, random frame
// under 150 ms.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <algorithm>
#include <filesystem>
#include <numeric>
#include <random>
#include <vector>

#include "../tests/image/video_test_files.cpp"
#include "../tests/image/video_test_files.h"
#include "bench_sky_video.h"
#include "image/avi_image.h"
#include "image/video_decoder.h"
#include "platform/scripted.h"

namespace {

using bench_sky::kFrames;
using bench_sky::SkyVideo;

void BM_VideoOpenAndAverage(benchmark::State& state) {
    const std::string path = SkyVideo(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        ScriptedProgress progress;
        AVIFileImage image(progress, path);
        if (image.status != 0) state.SkipWithError("video did not open");
        benchmark::DoNotOptimize(image.picture.data());
    }
}
BENCHMARK(BM_VideoOpenAndAverage)->Arg(25)->Arg(250)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_VideoNextFrame(benchmark::State& state) {
    VideoDecoder::OpenStatus status;
    auto d = VideoDecoder::Open(SkyVideo(static_cast<int>(state.range(0))), status);
    if (!d) {
        state.SkipWithError("video did not open");
        return;
    }
    std::vector<std::uint8_t> plane(static_cast<std::size_t>(d->Width()) * d->Height());
    int k = 0;
    d->ReadFrame(k, plane.data(), d->Width());
    for (auto _ : state) {
        if (++k == d->FrameCount()) {
            state.PauseTiming();
            k = 0;
            d->ReadFrame(k, plane.data(), d->Width());
            state.ResumeTiming();
            continue;
        }
        benchmark::DoNotOptimize(d->ReadFrame(k, plane.data(), d->Width()));
    }
}
BENCHMARK(BM_VideoNextFrame)->Arg(25)->Arg(250)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_VideoRandomFrame(benchmark::State& state) {
    VideoDecoder::OpenStatus status;
    auto d = VideoDecoder::Open(SkyVideo(static_cast<int>(state.range(0))), status);
    if (!d) {
        state.SkipWithError("video did not open");
        return;
    }
    std::vector<std::uint8_t> plane(static_cast<std::size_t>(d->Width()) * d->Height());
    // Every frame once per round, in shuffled order, so that none is still
    // among the frames the decoder keeps after showing them.
    std::vector<int> order(d->FrameCount());
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), std::mt19937(5));
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(d->ReadFrame(order[next], plane.data(), d->Width()));
        next = (next + 1) % order.size();
    }
}
BENCHMARK(BM_VideoRandomFrame)->Arg(25)->Arg(250)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

}  // namespace
