#include "image/video_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <numeric>
#include <random>
#include <vector>

#include "image/video_test_files.h"
#include "support/scratch_dir.h"

namespace {

// Writes the video into the suite's directory, once, and opens it.
std::unique_ptr<VideoDecoder> OpenWritten(const std::string& name, const TestVideo& t) {
    static const testing_support::ScratchDir dir;
    const std::string path = dir.file(name);
    if (!std::filesystem::exists(path)) WriteTestVideo(path, t);
    VideoDecoder::OpenStatus status;
    return VideoDecoder::Open(path, status);
}

int FrameShown(VideoDecoder& d, int k) {
    std::vector<std::uint8_t> plane(d.Width() * d.Height());
    return d.ReadFrame(k, plane.data(), d.Width()) ? ReadFrameNumber(plane.data(), d.Width(), d.Height(), d.Width()) : -1;
}

// A fresh reader for each order, so no frame comes from those kept; a far
// frame decodes only from the keyframe before it. (The measuring window's
// tests count the decodes of stepping through a long-GOP stream.) Intra-only
// streams, keyframes every few frames, and long H.264 groups with B-frames
// in the containers that index them differently.
TEST(VideoFormats, EveryFrameIsExactInAnyOrderOrReadAheadAndAFarOneDecodesFromItsKeyframe) {
    for (const auto& [file, encoder, format, frames, gop, b_frames] :
         {std::tuple{"grey.avi", "rawvideo", AV_PIX_FMT_GRAY8, 20, 1, 0}, {"grey.mkv", "ffv1", AV_PIX_FMT_GRAY8, 20, 5, 0},
          {"mjpeg.avi", "mjpeg", AV_PIX_FMT_YUVJ420P, 20, 1, 0}, {"long.mp4", "libx264", AV_PIX_FMT_YUV420P, 90, 40, 2},
          {"long.mkv", "libx264", AV_PIX_FMT_YUV420P, 90, 40, 2}, {"bframes.avi", "libx264", AV_PIX_FMT_YUV420P, 60, 25, 2}}) {
        SCOPED_TRACE(file);
        const auto open = [&] {
            return OpenWritten(file, {.encoder = encoder, .pix_fmt = format, .frames = frames, .gop = gop,
                                      .b_frames = b_frames, .pixel = FrameNumberPixel});
        };
        auto d = open();
        ASSERT_TRUE(d);
        EXPECT_EQ(std::tuple(d->FrameCount(), d->Width(), d->EightBit()), std::tuple(frames, 64, format == AV_PIX_FMT_GRAY8));
        std::vector<int> order(d->FrameCount());
        std::iota(order.begin(), order.end(), 0);
        for (int k : order) EXPECT_EQ(FrameShown(*d, k), k) << "forward";
        std::reverse(order.begin(), order.end());
        d = open();
        for (int k : order) EXPECT_EQ(FrameShown(*d, k), k) << "backward";
        std::shuffle(order.begin(), order.end(), std::mt19937(7));
        d = open();
        for (int k : order) EXPECT_EQ(FrameShown(*d, k), k) << "random";

        d = open();
        const int far = std::min(d->FrameCount() - 1, 2 * gop + gop / 2);
        ASSERT_EQ(FrameShown(*d, far), far);
        // B-frames may make the decoder give out a few frames before the keyframe
        EXPECT_LE(d->FramesDecoded(), far % gop + 1 + b_frames);

        // Frames read ahead in the background are the right ones and cost
        // nothing when shown; a frame asked for meanwhile, ahead or far back, is
        // still exact, and a reader closed while reading ahead stops cleanly.
        const int start = d->FrameCount() / 3;
        ASSERT_EQ(FrameShown(*d, start), start);
        d->ReadAhead(start + 1, 8);
        d->WaitForReadAhead();
        const int decoded = d->FramesDecoded();
        for (int k = start + 1; k < std::min(start + 9, d->FrameCount()); ++k) ASSERT_EQ(FrameShown(*d, k), k);
        EXPECT_EQ(d->FramesDecoded(), decoded) << "every frame read ahead was kept";
        for (const int k : {0, d->FrameCount() - 1, start + 2, 1}) {
            d->ReadAhead(d->FrameCount() / 2, 8);
            EXPECT_EQ(FrameShown(*d, k), k);
        }
        d->ReadAhead(2, 8);
    }
}

TEST(VideoPixels, AnMp4WithoutPacketDurationsKeepsItsLastFrameADroppedAviFrameRepeatsThePreviousOneAndATruncatedFileGivesWhatItHolds) {
    auto d = OpenWritten("nodur.mp4", {.encoder = "libx264", .pix_fmt = AV_PIX_FMT_YUV420P, .frames = 12,
                                       .packet_durations = false, .pixel = FrameNumberPixel});
    ASSERT_TRUE(d);
    EXPECT_EQ(std::pair(d->FrameCount(), FrameShown(*d, 11)), std::pair(12, 11));

    // Later frames keep their numbers.
    d = OpenWritten("dropped.avi", {.pix_fmt = AV_PIX_FMT_PAL8, .frames = 8, .empty_frames = {3}, .pixel = FrameNumberPixel});
    ASSERT_TRUE(d);
    EXPECT_EQ(d->FrameCount(), 8);
    for (auto [k, shown] : {std::pair{7, 7}, {3, 2}, {2, 2}, {4, 4}, {0, 0}}) EXPECT_EQ(FrameShown(*d, k), shown) << k;

    // A truncated file gives the frames it holds. (Files without a usable
    // stream are refused through the image source: see the AVI image tests.)
    const testing_support::ScratchDir dir;
    WriteTestVideo(dir.file("whole.mkv"),
                   {.encoder = "libx264", .pix_fmt = AV_PIX_FMT_YUV420P, .frames = 40, .gop = 10, .pixel = FrameNumberPixel});
    const std::string whole = testing_support::ReadText(dir.file("whole.mkv"));
    testing_support::WriteText(dir.file("cut.mkv"), whole.substr(0, whole.size() / 2));
    VideoDecoder::OpenStatus status;
    d = VideoDecoder::Open(dir.file("cut.mkv"), status);
    ASSERT_TRUE(d);
    const int n = d->FrameCount();
    EXPECT_GT(n, 5);
    EXPECT_LT(n, 40);
    EXPECT_EQ(std::tuple(FrameShown(*d, 2), FrameShown(*d, n), FrameShown(*d, -1)), std::tuple(2, -1, -1));
}

}  // namespace
