#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "image/fake_image.h"
#include "image/meteor_image.h"
#include "platform/desktop_shell.h"

namespace {

class ScriptedShell : public DesktopShell {
public:
    std::vector<std::string> open_windows;
    std::vector<std::string> raised, opened;
    int clipboard_viewers = 0;

    bool RaiseWindow(const std::string& title) override {
        const bool found = std::find(open_windows.begin(), open_windows.end(), title) != open_windows.end();
        if (found) raised.push_back(title);
        return found;
    }
    void OpenFile(const std::string& path) override { opened.push_back(path); }
    void OpenClipboardViewer() override { ++clipboard_viewers; }
};

}  // namespace

TEST(Play, RaisesAViewerTitledWithTheUpperCaseNameElseOpensTheFileOrTheClipboardViewer) {
    MeteorImage img("/home/obs/plates/Perseid-12.bmp");
    img.type = ImageType::Still;
    MeteorImage clip;
    clip.type = ImageType::Still;
    FakeImage blank(640, 480, ImageType::BlankPhoto);
    ScriptedShell shell;
    img.Play(shell);
    clip.Play(shell);
    blank.Play(shell);
    EXPECT_EQ(shell.opened, std::vector<std::string>{"/home/obs/plates/Perseid-12.bmp"});
    EXPECT_EQ(shell.clipboard_viewers, 1);
    shell.open_windows = {"PERSEID-12.BMP"};
    img.Play(shell);
    EXPECT_EQ(shell.raised, std::vector<std::string>{"PERSEID-12.BMP"});
    EXPECT_EQ(shell.opened.size(), 1u);
}
