// Stepping through a video in the meteor dialog costs what the observer
// expects: each step forward costs one decode and no seek (done ahead, while
// the observer looks at the frame before), a page of the frame bar decodes at
// most its five frames, and the frame of a point measured earlier in the
// dialog is shown without decoding at all. Counted on an H.264 video with
// B-frames and a keyframe every 25 frames.

#include <QScrollBar>

#include "image/avi_image.h"
#include "image/video_decoder.h"
#include "image/video_test_files.h"
#include "measure_ui_support.h"
#include "platform/scripted.h"
#include "ui/measure/meteor_dialog_window.h"

namespace {

using namespace measure_ui;

// The video source with its decoder's counters in view.
class CountedVideo : public AVIFileImage {
public:
    using AVIFileImage::AVIFileImage;
    int Seeks() const { return decoder_->Seeks(); }
    int Decoded() const { return decoder_->FramesDecoded(); }
};

class VideoSteppingTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = TempVideoDir("measure_stepping");
        TestVideo t;
        t.encoder = "libx264";
        t.pix_fmt = AV_PIX_FMT_YUV420P;
        t.width = 320;
        t.height = 240;
        t.frames = 80;
        t.gop = 25;
        t.b_frames = 2;
        t.pixel = FrameNumberPixel;
        WriteTestVideo(dir_ + "/sky.mp4", t);
    }
    static void TearDownTestSuite() { std::filesystem::remove_all(dir_); }

    void SetUp() override {
        video_ = std::make_unique<CountedVideo>(progress_, dir_ + "/sky.mp4");
        ASSERT_EQ(video_->status, 0);
        Session = &session_;
        Mimg = video_.get();
        dialog_ = std::make_unique<TMeteorDialog>(nullptr, session_, *video_, 160, 120, messages_);
        dialog_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog_.get()));
        Shown();
    }
    void TearDown() override {
        dialog_.reset();
        Session = nullptr;
        Mimg = nullptr;
    }
    // Paints the magnifier, lets the frames after it be read ahead (as they
    // are while the observer clicks), and returns the decoder's counts since
    // the last call: frames decoded and seeks.
    std::pair<int, int> Shown() {
        dialog_->MagnifierControl()->repaint();
        video_->WaitForReadAhead();
        const std::pair<int, int> since{video_->Decoded() - decoded_, video_->Seeks() - seeks_};
        decoded_ = video_->Decoded();
        seeks_ = video_->Seeks();
        return since;
    }
    void Accept() {
        dialog_->WMPosition({160, 160});
        dialog_->WMMeteorAccept();
    }
    QScrollBar& Bar() { return *dialog_->ControlAs<QScrollBar>(192); }

    static std::string dir_;
    ScriptedProgress progress_;
    SessionData session_;
    ScriptedMessageBox messages_;
    std::unique_ptr<CountedVideo> video_;
    std::unique_ptr<TMeteorDialog> dialog_;
    int decoded_ = 0, seeks_ = 0;
};

std::string VideoSteppingTest::dir_;

// Beyond the frames 32 to 46 kept from the averaging at load, which a step
// would not need to decode.
TEST_F(VideoSteppingTest, AcceptShowsTheNextFrameWithOneDecodeAndNoSeek) {
    Bar().setValue(47);
    Shown();
    for (int i = 0; i < 20; ++i) {  // across the keyframe at 50
        Accept();
        EXPECT_EQ(Shown(), std::make_pair(1, 0)) << "after the point on frame " << 47 + i;
    }
    EXPECT_EQ(Bar().value(), 67);
}

TEST_F(VideoSteppingTest, APageDecodesAtMostItsFramesAndAnEarlierPointNone) {
    Bar().setValue(48);
    Shown();
    Bar().triggerAction(QAbstractSlider::SliderPageStepAdd);
    const auto page = Shown();
    EXPECT_LE(page.first, 5);
    EXPECT_EQ(page.second, 0);
    EXPECT_EQ(Bar().value(), 53);
    // Points on frames 53 to 62, then back to each of them.
    for (int i = 0; i < 10; ++i) {
        Accept();
        Shown();
    }
    for (int f = 62; f >= 53; --f) {
        Bar().setValue(f);
        EXPECT_EQ(Shown(), std::make_pair(0, 0)) << "frame " << f;
        EXPECT_FALSE(dialog_->core().magnifier().enabled());
    }
    // And on to the frame being measured: shown already as well.
    Bar().setValue(63);
    EXPECT_EQ(Shown(), std::make_pair(0, 0));
}

}  // namespace
