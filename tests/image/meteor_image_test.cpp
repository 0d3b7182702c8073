// A source's own behaviour whatever its kind: the colour table, drawing
// onto a canvas, and Play.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "image/fake_image.h"
#include "image/meteor_image.h"
#include "image/packed_dib.h"
#include "platform/desktop_shell.h"
#include "platform/scripted.h"

namespace {

// A 4 x 3 picture whose colour table can be inspected.
class TestImage : public MeteorImage {
public:
    explicit TestImage(int kind = ImageType::Still) {
        type = kind;
        width = 4;
        height = 3;
        picture = packed_dib::MakeGreyDib(4, 3);
        frame_picture = packed_dib::MakeGreyDib(4, 3);
        AdjustDIBColors();
    }
    int Entry(int i) const { return picture[40 + 4 * i]; }
    std::vector<std::uint8_t> Table(const std::vector<std::uint8_t>& dib) const { return {dib.begin() + 40, dib.begin() + 1064}; }
};

class ScriptedShell : public DesktopShell {
public:
    std::vector<std::string> open_windows, raised, opened;
    int clipboard_viewers = 0;

    bool RaiseWindow(const std::string& title) override {
        if (std::find(open_windows.begin(), open_windows.end(), title) == open_windows.end()) return false;
        raised.push_back(title);
        return true;
    }
    void OpenFile(const std::string& path) override { opened.push_back(path); }
    void OpenClipboardViewer() override { ++clipboard_viewers; }
};

}  // namespace

// The image dialog's tests step to the limits and invert twice; here the
// whole tables, truncated as they are built.
TEST(ColourTable, BrightnessShiftsTheRampByUpTo115AndContrastSteepensItAroundLevel128WithTruncation) {
    TestImage img;
    ASSERT_TRUE(img.SetBrightness(15));
    for (int i = 0; i < 256; ++i) ASSERT_EQ(img.Entry(i), std::min(i + 115, 255)) << i;
    ASSERT_TRUE(img.SetBrightness(-15));
    // 116 - 115.2 truncates to 0.
    EXPECT_EQ(std::tuple(img.Entry(116), img.Entry(117), img.Entry(255)), std::tuple(0, 1, 139));
    ASSERT_TRUE(img.SetBrightness(0));
    ASSERT_TRUE(img.SetContrast(15));  // slope 5.95
    for (const auto& [i, v] : {std::pair{128, 128}, {129, 133}, {127, 122}, {149, 252}, {150, 255}, {106, 0}})
        EXPECT_EQ(img.Entry(i), v) << i;
    ASSERT_TRUE(img.SetContrast(-15));  // slope 1 / 5.95
    EXPECT_EQ(std::pair(img.Entry(0), img.Entry(255)), std::pair(106, 149));
    EXPECT_FALSE(img.SetContrast(-16));
    EXPECT_EQ(img.contrast, -15);

    // Only a video source colours its frame picture.
    TestImage video(ImageType::Video), blank_video(ImageType::BlankVideo);
    video.SetBrightness(5);
    blank_video.SetBrightness(5);
    EXPECT_EQ(video.Table(video.frame_picture), video.Table(video.picture));
    EXPECT_EQ(blank_video.frame_picture[40 + 4 * 10], 10);  // untouched identity ramp

    // A blank image fills the destination in its grey level.
    FakeImage blank(100, 80, ImageType::BlankPhoto);
    EXPECT_FALSE(blank.HasPicture());
    for (const auto& [step, green] : {std::pair{-15, 8}, {0, 128}, {15, 248}}) {
        blank.SetBrightness(step);
        RecordingCanvas rec;
        blank.Display(rec, 5, 6, 50, 40, 0, 0, 100, 80, -1);
        ASSERT_EQ(rec.calls.size(), 1u);
        EXPECT_EQ(std::tuple(rec.calls[0].kind, rec.calls[0].dst, rec.calls[0].green),
                  std::tuple(RecordingCanvas::Call::Fill, CanvasRect{5, 6, 50, 40}, green)) << step;
    }
}

TEST(Play, RaisesAViewerTitledWithTheUpperCaseNameElseOpensTheFileOrTheClipboardViewer) {
    MeteorImage img("/home/obs/plates/Perseid-12.bmp"), clip;
    img.type = clip.type = ImageType::Still;
    ScriptedShell shell;
    img.Play(shell);
    clip.Play(shell);
    FakeImage(640, 480, ImageType::BlankPhoto).Play(shell);
    EXPECT_EQ(std::pair(shell.opened, shell.clipboard_viewers), std::pair(std::vector<std::string>{"/home/obs/plates/Perseid-12.bmp"}, 1));
    shell.open_windows = {"PERSEID-12.BMP"};
    img.Play(shell);
    EXPECT_EQ(std::pair(shell.raised, shell.opened.size()), std::pair(std::vector<std::string>{"PERSEID-12.BMP"}, std::size_t{1}));
}
