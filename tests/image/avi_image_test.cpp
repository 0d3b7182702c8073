#include "image/avi_image.h"

#include <gtest/gtest.h>

#include <vector>

#include "image/image_status.h"
#include "image/open_image.h"
#include "image/packed_dib.h"
#include "image/video_decoder.h"
#include "image/video_test_files.h"
#include "platform/scripted.h"
#include "support/cli_run.h"
#include "support/scratch_dir.h"

namespace {

constexpr int kW = 66;  // rows padded to 68 bytes in the pictures
constexpr int kH = 48;

// Four regions whose levels together pin down which frames were averaged:
// top half k and 255 - k, bottom half k*k mod 251 and 37k mod 256.
std::uint8_t Level(int k, int x, int y) {
    const bool left = x < kW / 2;
    if (y < kH / 2) return static_cast<std::uint8_t>(left ? k : 255 - k);
    return static_cast<std::uint8_t>(left ? (k * k) % 251 : (37 * k) % 256);
}

// Grey level of picture pixel (x, y), y counted from the top like Level's.
int Pixel(const std::vector<std::uint8_t>& dib, int x, int y) { return packed_dib::Row(dib, kW, kH - 1 - y)[x]; }

class AviImage : public ::testing::Test {
protected:
    std::string Video(const std::string& name, int frames, AVPixelFormat fmt = AV_PIX_FMT_GRAY8,
                      std::vector<int> short_frames = {}) {
        WriteTestVideo(dir_.file(name), {.encoder = fmt == AV_PIX_FMT_BGR0 ? "ffv1" : "rawvideo", .pix_fmt = fmt, .width = kW,
                                         .height = kH, .frames = frames, .short_frames = std::move(short_frames), .pixel = Level});
        return dir_.file(name);
    }

    // The sum of the given frames over the divisor at a point of each region.
    static void ExpectAverageOf(const AVIImage& image, const std::vector<int>& frames, int divisor) {
        for (int x : {3, kW - 3})
            for (int y : {2, kH - 2}) {
                int sum = 0;
                for (int k : frames) sum += Level(k, x, y);
                EXPECT_EQ(Pixel(image.picture, x, y), sum / divisor) << "at " << x << "," << y;
            }
    }

    ScriptedProgress progress_;
    ScriptedMessageBox messages_;
    testing_support::ScratchDir dir_;
};

TEST_F(AviImage, AveragesExactlyTheFramesChosenForTheVideosLengthAndTheGreenOfATwentyFourBitStream) {
    // Eleven frames are spread by i*8/7 + 1.5, not by whole eighths.
    for (const auto& [length, frames] : std::vector<std::pair<int, std::vector<int>>>{{5, {0, 1, 2, 3, 4}},
                                                                                  {9, {0, 1, 2, 3, 4, 5, 6, 7}},
                                                                                  {10, {1, 2, 3, 4, 5, 6, 7, 8}},
                                                                                  {11, {1, 2, 3, 4, 6, 7, 8, 9}},
                                                                                  {100, {42, 44, 46, 48, 50, 52, 54, 56}}}) {
        SCOPED_TRACE(length);
        AVIFileImage image(progress_, Video("len" + std::to_string(length) + ".avi", length), &messages_);
        ASSERT_EQ(std::tuple(image.status, image.GetNFr(), image.bit8), std::tuple(kStatusOk, length, 1));
        ExpectAverageOf(image, frames, static_cast<int>(frames.size()));
    }

    // A 24-bit stream: the green component, and progress in steps of 20 %
    // of the frames read alone.
    ScriptedProgress progress;
    AVIFileImage image(progress, Video("rgb.mkv", 50, AV_PIX_FMT_BGR0), &messages_);
    ASSERT_EQ(std::pair(image.status, image.bit8), std::pair(kStatusOk, 0));
    ExpectAverageOf(image, {17, 19, 21, 23, 25, 27, 29, 31}, 8);
    EXPECT_EQ(std::tuple(progress.reports, progress.clears, messages_.shown.empty()),
              std::tuple(std::vector<int>{10, 20, 30, 37, 45, 52, 60, 67, 75, 82, 90, 100}, 1, true));
}

TEST_F(AviImage, EscapeWhileTheStreamIsReadOrAveragedAbortsWithoutAMessage) {
    progress_.escape_at_poll = 3;
    AVIFileImage image(progress_, Video("long.avi", 40), &messages_);
    EXPECT_EQ(std::tuple(image.status, messages_.shown.empty(), progress_.reports.back()),
              std::tuple(kStatusAborted, true, 30 + 2 * 60 / 8));

    // Reading a large stream through once at opening polls Escape too.
    WriteTestVideo(dir_.file("big.avi"),
                   {.width = 640, .height = 480, .frames = 2 * VideoDecoder::kAbortPollBytes / (640 * 480) + 1, .pixel = Level});
    ScriptedProgress early;
    early.escape_at_poll = 1;
    AVIFileImage aborted(early, dir_.file("big.avi"), &messages_);
    EXPECT_EQ(std::pair(aborted.status, early.reports.empty()), std::pair(kStatusAborted, true));
}

TEST_F(AviImage, ShowsEachFrameExactlyThroughTheColourTableAndFrameMinusOneAsTheAverage) {
    AVIFileImage image(progress_, Video("frames.avi", 20, AV_PIX_FMT_PAL8), &messages_);
    ASSERT_EQ(image.status, kStatusOk);
    ASSERT_EQ(image.frame_picture.size(), packed_dib::kPixelOffset + 68u * kH);
    RecordingCanvas canvas;
    for (int k : {7, 8, 19, 0, 7}) {
        image.Display(canvas, 0, 0, kW, kH, 0, 0, kW, kH, k);
        for (int y : {1, kH - 1})
            for (int x : {0, kW - 1}) ASSERT_EQ(Pixel(image.frame_picture, x, y), Level(k, x, y)) << k;
    }
    image.Display(canvas, 0, 0, 10, 10, 0, 0, kW, kH, 20);  // one past the last: nothing
    EXPECT_EQ(canvas.calls.size(), 5u);
    image.Display(canvas, 0, 0, 10, 10, 0, 0, kW, kH, -1);  // the average
    ASSERT_EQ(canvas.calls.size(), 6u);
    ASSERT_TRUE(image.SetBrightness(15));
    EXPECT_EQ(image.frame_picture[packed_dib::kHeaderSize + 4 * 10 + 1], 125);  // entry i = i + 115
}

TEST_F(AviImage, AnUndecodableFrameIsReportedWhileAveragingAndRefusedWhenShownAndFilesWithoutFramesGetTheirStatus) {
    AVIFileImage image(progress_, Video("short.avi", 5, AV_PIX_FMT_GRAY8, {2}), &messages_);
    ASSERT_EQ(image.status, kStatusOk);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(std::pair(messages_.shown[0].text, messages_.shown[0].caption),
              (std::pair<std::string, std::string>("Frame missing", "Avgframe")));
    ExpectAverageOf(image, {0, 1, 3, 4}, 5);  // left out of the sum, not of the division

    RecordingCanvas canvas;
    image.Display(canvas, 0, 0, kW, kH, 0, 0, kW, kH, 2);
    EXPECT_EQ(std::pair(image.status, canvas.calls.empty()), std::pair(kStatusFrameMissing, true));
    image.Display(canvas, 0, 0, kW, kH, 0, 0, kW, kH, 3);
    EXPECT_EQ(image.status, kStatusOk);

    // Not one frame of the average decoded: a failure, not a black picture.
    AVIFileImage broken(progress_, Video("broken.avi", 3, AV_PIX_FMT_GRAY8, {0, 1, 2}), nullptr);
    EXPECT_EQ(std::pair(broken.status, broken.HasPicture()), std::pair(kStatusFrameMissing, false));

    // Opening takes every extension but BMP and PCD as a video, and files
    // without frames get their status.
    WriteTestVideo(dir_.file("METEOR.MKV"), {.encoder = "libx264", .pix_fmt = AV_PIX_FMT_YUV420P, .frames = 12, .pixel = FrameNumberPixel});
    ImageOpenContext context{progress_, 5, &messages_};
    const auto mkv = OpenImageFile(dir_.file("METEOR.MKV"), context);
    EXPECT_EQ(std::tuple(mkv->status, mkv->type, mkv->GetNFr()), std::tuple(kStatusOk, 9, 12));
    const testing_support::CliRun info = testing_support::RunCli("info " + dir_.file("METEOR.MKV"));
    EXPECT_EQ(std::pair(info.status, info.out), std::pair(0, std::string("width: 64\nheight: 48\ntype: 9 (video)\nframes: 12\n")));

    testing_support::WriteText(dir_.file("notes.txt"), "no video here\n");
    EXPECT_EQ(OpenImageFile(dir_.file("notes.txt"), context)->status, kStatusCannotOpen);
    EXPECT_EQ(AVIFileImage(progress_, dir_.file("absent.avi"), &messages_).status, kStatusCannotOpen);
    AVIFileImage empty(progress_, Video("empty.avi", 0), &messages_);
    EXPECT_EQ(std::pair(empty.status, ImageStatusMessage(empty.status)),
              std::pair(kStatusNoVideoStream, std::string("AVI video stream cannot be accessed")));
    RecordingCanvas nothing;
    empty.Display(nothing, 0, 0, 1, 1, 0, 0, 1, 1, 0);
    empty.Display(nothing, 0, 0, 1, 1, 0, 0, 1, 1, -1);
    EXPECT_TRUE(nothing.calls.empty());
}

}  // namespace
