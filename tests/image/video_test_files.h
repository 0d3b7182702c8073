#pragma once
// Small videos written with FFmpeg's encoders, for the video tests and
// benchmarks. Each frame's pixels come from a function of (frame, x, y); the
// writer turns that grey level into the encoder's pixel format with red and
// blue different from green, so a reader that takes the wrong component
// shows it.

// Tests name only the TestVideo fields they set; the rest keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

extern "C" {
#include <libavutil/pixfmt.h>
}

struct TestVideo {
    std::string encoder = "rawvideo";
    AVPixelFormat pix_fmt = AV_PIX_FMT_GRAY8;
    int width = 64;
    int height = 48;
    int frames = 10;
    int gop = 12;          // keyframe interval
    int b_frames = 0;
    std::string x264_preset = "ultrafast";
    bool packet_durations = true;
    std::vector<int> short_frames;  // frames whose packet is cut to half (undecodable raw frames)
    std::vector<int> empty_frames;  // frames written as empty packets (dropped frames of a capture)
    std::function<std::uint8_t(int frame, int x, int y)> pixel;  // grey (or green) level of each pixel
};

// Writes the video; the container follows the file's extension. Throws
// std::runtime_error when FFmpeg refuses.
void WriteTestVideo(const std::string& path, const TestVideo& video);

// Frame numbers drawn as big flat blocks that survive lossy coding: the
// picture is split into three columns of 16-pixel blocks showing the
// base-8 digits of the frame number as levels 16, 48, ..., 240.
std::uint8_t FrameNumberPixel(int frame, int x, int y);
// Reads the number back from a plane (top row first, rows stride bytes apart).
int ReadFrameNumber(const std::uint8_t* plane, int width, int height, long stride);
