#include "image/video_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <random>
#include <vector>

#include "image/video_test_files.h"
#include "support/scratch_dir.h"

namespace {

struct Case {
    const char* name;
    const char* file;
    TestVideo video;
    bool eight_bit;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

std::vector<Case> Cases() {
    auto v = [](const char* enc, AVPixelFormat fmt, int frames, int gop, int b) {
        TestVideo t;
        t.encoder = enc;
        t.pix_fmt = fmt;
        t.frames = frames;
        t.gop = gop;
        t.b_frames = b;
        t.pixel = FrameNumberPixel;
        return t;
    };
    return {
        {"GreyRawAvi", "grey.avi", v("rawvideo", AV_PIX_FMT_GRAY8, 20, 1, 0), true},
        {"PaletteRawAvi", "palette.avi", v("rawvideo", AV_PIX_FMT_PAL8, 20, 1, 0), true},
        {"GreyFfv1Mkv", "grey.mkv", v("ffv1", AV_PIX_FMT_GRAY8, 20, 5, 0), true},
        {"RgbFfv1Avi", "rgb.avi", v("ffv1", AV_PIX_FMT_BGR0, 20, 5, 0), false},
        {"MjpegAvi", "mjpeg.avi", v("mjpeg", AV_PIX_FMT_YUVJ420P, 20, 1, 0), false},
        {"H264LongGopMp4", "long.mp4", v("libx264", AV_PIX_FMT_YUV420P, 90, 40, 2), false},
        {"H264LongGopMkv", "long.mkv", v("libx264", AV_PIX_FMT_YUV420P, 90, 40, 2), false},
        {"H264LongGopMov", "long.mov", v("libx264", AV_PIX_FMT_YUV420P, 90, 40, 2), false},
        {"H264BFramesAvi", "bframes.avi", v("libx264", AV_PIX_FMT_YUV420P, 60, 25, 2), false},
    };
}

class VideoFormats : public ::testing::TestWithParam<Case> {
protected:
    static void SetUpTestSuite() {
        dir_ = TempVideoDir("decoder_formats");
        for (const Case& c : Cases()) WriteTestVideo(dir_ + "/" + c.file, c.video);
    }
    static void TearDownTestSuite() { std::filesystem::remove_all(dir_); }

    std::unique_ptr<VideoDecoder> OpenCase() {
        VideoDecoder::OpenStatus status;
        auto d = VideoDecoder::Open(dir_ + "/" + GetParam().file, status);
        EXPECT_EQ(status, VideoDecoder::OpenStatus::Ok);
        return d;
    }
    int NumberOf(VideoDecoder& d, int k) {
        std::vector<std::uint8_t> plane(d.Width() * d.Height());
        if (!d.ReadFrame(k, plane.data(), d.Width())) return -1;
        return ReadFrameNumber(plane.data(), d.Width(), d.Height(), d.Width());
    }
    static std::string dir_;
};
std::string VideoFormats::dir_;

TEST_P(VideoFormats, EveryFrameIsExactInForwardBackwardAndRandomOrder) {
    auto d = OpenCase();
    ASSERT_TRUE(d);
    EXPECT_EQ(d->FrameCount(), GetParam().video.frames);
    EXPECT_EQ(d->Width(), 64);
    EXPECT_EQ(d->Height(), 48);
    EXPECT_EQ(d->EightBit(), GetParam().eight_bit);
    std::vector<int> order(d->FrameCount());
    std::iota(order.begin(), order.end(), 0);
    for (int k : order) EXPECT_EQ(NumberOf(*d, k), k) << "forward";
    // A fresh reader for each order, so no frame comes from those kept
    std::reverse(order.begin(), order.end());
    d = OpenCase();
    for (int k : order) EXPECT_EQ(NumberOf(*d, k), k) << "backward";
    std::shuffle(order.begin(), order.end(), std::mt19937(7));
    d = OpenCase();
    for (int k : order) EXPECT_EQ(NumberOf(*d, k), k) << "random";
}

TEST_P(VideoFormats, TheNextFrameCostsOneDecodeAndNoSeekAndAStepBackNothing) {
    auto d = OpenCase();
    ASSERT_TRUE(d);
    const int start = d->FrameCount() / 2 + 3;
    ASSERT_EQ(NumberOf(*d, start), start);
    for (int k = start + 1; k < d->FrameCount(); ++k) {
        const int seeks = d->Seeks();
        const int decoded = d->FramesDecoded();
        ASSERT_EQ(NumberOf(*d, k), k);
        EXPECT_EQ(d->Seeks(), seeks) << k;
        EXPECT_EQ(d->FramesDecoded(), decoded + 1) << k;
    }
    const int decoded = d->FramesDecoded();
    for (int k = d->FrameCount() - 2; k >= start; --k) ASSERT_EQ(NumberOf(*d, k), k);
    EXPECT_EQ(d->FramesDecoded(), decoded);
}

TEST_P(VideoFormats, ARandomFrameDecodesOnlyFromTheKeyframeBeforeIt) {
    auto d = OpenCase();
    ASSERT_TRUE(d);
    const int gop = GetParam().video.gop;
    const int k = std::min(d->FrameCount() - 1, 2 * gop + gop / 2);
    const int decoded = d->FramesDecoded();
    ASSERT_EQ(NumberOf(*d, k), k);
    // B-frames may make the decoder give out a few frames before the keyframe
    EXPECT_LE(d->FramesDecoded() - decoded, k % gop + 1 + GetParam().video.b_frames);
}

// Frames read ahead in the background are the right ones and cost nothing
// when shown; a frame asked for meanwhile, ahead or far back, is still
// exact, and a reader closed while reading ahead stops cleanly.
TEST_P(VideoFormats, FramesReadAheadAreExactAndFreeAndAnyReadInterruptsTheReadingAhead) {
    auto d = OpenCase();
    ASSERT_TRUE(d);
    const int start = d->FrameCount() / 3;
    const int end = std::min(start + 9, d->FrameCount());
    ASSERT_EQ(NumberOf(*d, start), start);
    d->ReadAhead(start + 1, 8);
    d->WaitForReadAhead();
    const int decoded = d->FramesDecoded();
    for (int k = start + 1; k < end; ++k) ASSERT_EQ(NumberOf(*d, k), k);
    EXPECT_EQ(d->FramesDecoded(), decoded) << "every frame read ahead was kept";

    for (const int k : {0, d->FrameCount() - 1, start + 2, 1}) {
        d->ReadAhead(d->FrameCount() / 2, 8);
        EXPECT_EQ(NumberOf(*d, k), k);
    }
    d->ReadAhead(2, 8);
    d.reset();
}

INSTANTIATE_TEST_SUITE_P(Video, VideoFormats, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string(info.param.name); });

// Writes the video into a fresh directory and opens it; the directory goes
// with the test suite's temporary files.
std::unique_ptr<VideoDecoder> OpenWritten(const std::string& name, const TestVideo& t) {
    static const std::string dir = TempVideoDir("decoder_pixels");
    WriteTestVideo(dir + "/" + name, t);
    VideoDecoder::OpenStatus status;
    return VideoDecoder::Open(dir + "/" + name, status);
}

int FrameShown(VideoDecoder& d, int k) {
    std::vector<std::uint8_t> plane(64 * 48);
    return d.ReadFrame(k, plane.data(), 64) ? ReadFrameNumber(plane.data(), 64, 48, 64) : -1;
}

TEST(VideoPixels, LosslessStreamsGiveTheGreyLevelOrGreenComponentExactly) {
    auto level = [](int k, int x, int y) { return static_cast<std::uint8_t>(k * 31 + x * 3 + y * 5); };
    for (AVPixelFormat fmt : {AV_PIX_FMT_GRAY8, AV_PIX_FMT_PAL8, AV_PIX_FMT_BGR24}) {
        TestVideo t;
        t.pix_fmt = fmt;
        t.width = 37;  // rows of odd length
        t.height = 11;
        t.frames = 4;
        t.pixel = level;
        auto d = OpenWritten("raw" + std::to_string(fmt) + ".avi", t);
        ASSERT_TRUE(d) << fmt;
        EXPECT_EQ(d->EightBit(), fmt != AV_PIX_FMT_BGR24);
        for (int k : {2, 0, 3}) {
            std::vector<std::uint8_t> plane(37 * 11);
            ASSERT_TRUE(d->ReadFrame(k, plane.data(), 37));
            for (int y = 0; y < 11; ++y)
                for (int x = 0; x < 37; ++x) ASSERT_EQ(plane[y * 37 + x], level(k, x, y)) << fmt << " " << k << " " << x << "," << y;
        }
        // A negative stride fills a bottom-up picture from its last row.
        std::vector<std::uint8_t> flipped(37 * 11);
        ASSERT_TRUE(d->ReadFrame(1, flipped.data() + 10 * 37, -37));
        EXPECT_EQ(flipped[10 * 37 + 4], level(1, 4, 0));
        EXPECT_EQ(flipped[4], level(1, 4, 10));
    }
}

TEST(VideoPixels, AnMp4WithoutPacketDurationsKeepsItsLastFrameAndADroppedAviFrameRepeatsThePreviousOne) {
    TestVideo t;
    t.encoder = "libx264";
    t.pix_fmt = AV_PIX_FMT_YUV420P;
    t.frames = 12;
    t.pixel = FrameNumberPixel;
    t.packet_durations = false;
    auto d = OpenWritten("nodur.mp4", t);
    ASSERT_TRUE(d);
    ASSERT_EQ(d->FrameCount(), 12);
    EXPECT_EQ(FrameShown(*d, 11), 11);

    // Later frames keep their numbers.
    TestVideo dropped;
    dropped.pix_fmt = AV_PIX_FMT_PAL8;
    dropped.frames = 8;
    dropped.pixel = FrameNumberPixel;
    dropped.empty_frames = {3};
    d = OpenWritten("dropped.avi", dropped);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->FrameCount(), 8);
    for (auto [k, shown] : {std::pair{7, 7}, {3, 2}, {2, 2}, {4, 4}, {0, 0}}) EXPECT_EQ(FrameShown(*d, k), shown) << k;
}

class BadVideo : public ::testing::Test {
protected:
    void SetUp() override { dir_ = TempVideoDir("decoder_bad"); }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string Write(const std::string& name, const std::string& bytes) {
        std::ofstream(dir_ + "/" + name, std::ios::binary) << bytes;
        return dir_ + "/" + name;
    }
    std::string H264(const std::string& name, int frames) {
        TestVideo t;
        t.encoder = "libx264";
        t.pix_fmt = AV_PIX_FMT_YUV420P;
        t.frames = frames;
        t.gop = 10;
        t.pixel = FrameNumberPixel;
        WriteTestVideo(dir_ + "/" + name, t);
        return dir_ + "/" + name;
    }
    std::string dir_;
};

TEST_F(BadVideo, AMissingFileOrOneThatIsNoVideoIsNotAVideoAndAStreamWithoutFramesIsUnusable) {
    VideoDecoder::OpenStatus status;
    EXPECT_FALSE(VideoDecoder::Open(dir_ + "/absent.avi", status));
    EXPECT_EQ(status, VideoDecoder::OpenStatus::NotAVideo);
    std::string noise(5000, '\0');
    std::mt19937 rng(3);
    for (char& c : noise) c = static_cast<char>(rng());
    EXPECT_FALSE(VideoDecoder::Open(Write("noise.avi", noise), status));
    EXPECT_EQ(status, VideoDecoder::OpenStatus::NotAVideo);
    EXPECT_FALSE(VideoDecoder::Open(Write("empty.mp4", ""), status));
    EXPECT_EQ(status, VideoDecoder::OpenStatus::NotAVideo);

    TestVideo t;  // a stream without frames
    t.frames = 0;
    WriteTestVideo(dir_ + "/none.avi", t);
    EXPECT_FALSE(VideoDecoder::Open(dir_ + "/none.avi", status));
    EXPECT_EQ(status, VideoDecoder::OpenStatus::Unusable);
}

TEST_F(BadVideo, ATruncatedFileGivesTheFramesItHoldsAndRefusesTheRest) {
    const std::string whole = testing_support::ReadText(H264("whole.mkv", 40));
    const std::string path = Write("cut.mkv", whole.substr(0, whole.size() / 2));
    VideoDecoder::OpenStatus status;
    auto d = VideoDecoder::Open(path, status);
    ASSERT_TRUE(d);
    const int n = d->FrameCount();
    EXPECT_GT(n, 5);
    EXPECT_LT(n, 40);
    std::vector<std::uint8_t> plane(64 * 48);
    EXPECT_EQ(FrameShown(*d, 2), 2);
    EXPECT_FALSE(d->ReadFrame(n, plane.data(), 64));
    EXPECT_FALSE(d->ReadFrame(-1, plane.data(), 64));
}

TEST_F(BadVideo, DamagedFrameDataNeverCrashesOrHangs) {
    std::string bytes = testing_support::ReadText(H264("whole.avi", 40));
    std::mt19937 rng(11);
    for (std::size_t i = bytes.size() / 4; i < bytes.size() - 200; i += 7) bytes[i] = static_cast<char>(rng());
    VideoDecoder::OpenStatus status;
    auto d = VideoDecoder::Open(Write("damaged.avi", bytes), status);
    if (!d) return;  // refusing the file is as good as reading what is left
    std::vector<std::uint8_t> plane(static_cast<std::size_t>(d->Width()) * d->Height());
    for (int k : {0, 39, 20, 21, 5, 38, 39})
        if (k < d->FrameCount()) d->ReadFrame(k, plane.data(), d->Width());
}

}  // namespace
