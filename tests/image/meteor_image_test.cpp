#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/fake_image.h"
#include "image/meteor_image.h"
#include "platform/desktop_shell.h"

namespace {

class ScriptedShell : public DesktopShell {
public:
    std::vector<std::string> open_windows;
    std::vector<std::string> asked, raised, opened;
    int clipboard_viewers = 0;

    bool RaiseWindow(const std::string& title) override {
        asked.push_back(title);
        for (const auto& w : open_windows)
            if (w == title) {
                raised.push_back(title);
                return true;
            }
        return false;
    }
    void OpenFile(const std::string& path) override { opened.push_back(path); }
    void OpenClipboardViewer() override { ++clipboard_viewers; }
};

}  // namespace

TEST(Play, OpensTheFileUnlessAViewerTitledWithItsUpperCaseNameIsOpen) {
    MeteorImage img("/home/obs/plates/Perseid-12.bmp");
    img.type = ImageType::Still;
    ScriptedShell shell;
    img.Play(shell);
    EXPECT_EQ(shell.asked, std::vector<std::string>{"PERSEID-12.BMP"});
    EXPECT_EQ(shell.opened, std::vector<std::string>{"/home/obs/plates/Perseid-12.bmp"});
    shell.open_windows = {"PERSEID-12.BMP"};
    img.Play(shell);
    EXPECT_EQ(shell.raised, std::vector<std::string>{"PERSEID-12.BMP"});
    EXPECT_EQ(shell.opened.size(), 1u);
}

TEST(Play, AClipboardPictureOpensTheClipboardViewerAndABlankOneNothing) {
    MeteorImage clip;
    clip.type = ImageType::Still;
    FakeImage blank(640, 480, ImageType::BlankPhoto);
    ScriptedShell shell;
    clip.Play(shell);
    blank.Play(shell);
    EXPECT_EQ(shell.clipboard_viewers, 1);
    EXPECT_TRUE(shell.opened.empty());
    EXPECT_TRUE(shell.asked.empty());
}
