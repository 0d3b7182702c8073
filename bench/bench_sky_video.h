#pragma once
// The 1080p H.264 sky video the video and measuring benchmarks step through,
// written once per keyframe interval into the temporary directory.
#include <cstdint>
#include <filesystem>
#include <string>

#include "../tests/image/video_test_files.h"

namespace bench_sky {

constexpr int kFrames = 300;

// A dark sky with sensor noise and a slowly drifting gradient, so that the
// encoder has real detail to code in every frame.
inline std::uint8_t SkyPixel(int k, int x, int y) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 73856093u ^ static_cast<std::uint32_t>(y) * 19349663u ^
                      static_cast<std::uint32_t>(k) * 83492791u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return static_cast<std::uint8_t>(20 + ((x + y + 2 * k) >> 5) % 40 + (h & 15));
}

inline std::string SkyVideo(int gop) {
    const auto file = std::filesystem::temp_directory_path() /
                      ("velkarn_bench_1080p_h264_gop" + std::to_string(gop) + ".mp4");
    if (!std::filesystem::exists(file)) {
        TestVideo t;
        t.encoder = "libx264";
        t.x264_preset = "superfast";
        t.pix_fmt = AV_PIX_FMT_YUV420P;
        t.width = 1920;
        t.height = 1080;
        t.frames = kFrames;
        t.gop = gop;
        t.b_frames = 2;
        t.pixel = SkyPixel;
        const auto part = file.string() + ".part.mp4";
        WriteTestVideo(part, t);
        std::filesystem::rename(part, file);
    }
    return file.string();
}

}  // namespace bench_sky
