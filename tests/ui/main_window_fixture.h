#pragma once
// The real main window on Qt's offscreen platform, over a fresh temporary
// program directory, with scripted message boxes, file and text dialogs,
// exposure and measuring dialogs. The tests act as a user would: menu items
// chosen by clicking the menu bar and the item, clicks and keys on the
// panes, and read back what was painted.

#include <QMenuBar>
#include <QTest>
#include <filesystem>
#include <string>
#include <vector>

#include "image/meteor_image.h"
#include "identify/identify_scene.h"
#include "platform/scripted.h"
#include "session/session_data.h"
#include "shell/command_ids.h"
#include "shell/main_commands.h"
#include "shell/program_paths.h"
#include "shell/shell_fixture.h"
#include "shell/state_flags.h"
#include "support/scratch_dir.h"
#include "ui_test_support.h"
#include "ui/app/analysis_window.h"
#include "ui/app/display_window.h"
#include "ui/app/main_window.h"
#include "ui/app/status_window.h"
#include "files/options.h"
#include "ui/resources/resource_builder.h"

namespace ui_test {

namespace fs = std::filesystem;
using shell_test::Example;

// Writes an 8-bit grey BMP; pixel(column, row) gives the value of each
// pixel, row 0 the top row.
inline std::string WriteBmpFile(const fs::path& path, int width, int height,
                                const std::function<std::uint8_t(int, int)>& pixel) {
    std::vector<std::uint8_t> grey(static_cast<std::size_t>(width) * height);
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < width; ++c) grey[static_cast<std::size_t>(r) * width + c] = pixel(c, r);
    identify_test::WriteBmp(path.string(), identify_test::FromTopDown(grey, width, height));
    return path.string();
}

// Clicks the item of a menu that is open.
inline void ClickItem(QMenu* menu, int id) {
    QAction* action = FindCommand(menu, id);
    ASSERT_NE(action, nullptr) << "no item " << id;
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
}

class MainWindowTest : public testing::Test {
protected:
    // A main window of the given client size over the program directory
    // (which may hold a settings file), shown and exposed. With
    // as_program_ it is shown as the program shows it at start (where the
    // settings place it, the recovery copy in dir_/state offered) and keeps
    // that size; with real_dialogs_ the measuring dialogs are the real ones.
    void Start(int width = 800, int height = 600) {
        window_.reset();
        ProgramPaths paths{dir_, dir_, dir_, dir_, manual_dir_};
        if (as_program_) {
            paths.state_dir = dir_ / "state";
            std::error_code ec;
            ASSERT_TRUE(CreateWritableDirs(paths, ec));
        }
        SettingsEnvironment env{dir_, dir_, 1600, 1000};
        UiServices services{&messages_, &files_, &text_, &exposure_, real_dialogs_ ? nullptr : &measure_,
                            &clipboard_, &desktop_};
        window_ = std::make_unique<TMainWindow>(paths, env, services);
        if (as_program_) {
            window_->ShowAtStart();
        } else {
            window_->show();
        }
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
        if (!as_program_) ResizeClient(width, height);
    }

    // Makes the client area (below the menu bar) w x h pixels.
    void ResizeClient(int w, int h) {
        const QSize client = window_->centralWidget()->size();
        window_->resize(window_->width() + w - client.width(), window_->height() + h - client.height());
        QApplication::processEvents();
        ASSERT_EQ(window_->centralWidget()->size(), QSize(w, h));
    }

    // Chooses a menu item as a user does: a click on the menu's title in
    // the menu bar, then on the item. False when the item is disabled.
    bool Choose(int id) {
        QAction* item = window_->CommandAction(id);
        QMenuBar* bar = window_->menuBar();
        for (QAction* top : bar->actions()) {
            QMenu* menu = top->menu();
            if (!item || !menu || !menu->actions().contains(item)) continue;
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(top).center());
            EXPECT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }, 1000)) << "no menu opened for " << id;
            const bool enabled = item->isEnabled();
            if (enabled) {
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
            } else {
                menu->close();
            }
            QApplication::processEvents();
            return enabled;
        }
        ADD_FAILURE() << "no menu item " << id;
        return false;
    }

    // Opens an 8-bit BMP of a dark grey (pixel value 40), so that markers
    // stand out, through File > Open image file.
    void OpenImage(int width, int height) {
        const auto grey = [](int, int) { return std::uint8_t{40}; };
        files_.answers.push_back(WriteBmpFile(dir_ / "ph990812.bmp", width, height, grey));
        ASSERT_TRUE(Choose(cmd::ImgFileOpen));
        ASSERT_NE(Mimg, nullptr);
    }
    void Retrieve(const std::string& path) {
        files_.answers.push_back(path);
        ASSERT_TRUE(Choose(cmd::RetrieveSession));
    }
    // The example photograph's session on a blank image of its size, in a
    // client area of w x h without the plate-centre mark.
    void StartOnExample(int w, int h) {
        Start(w, h);
        opt.markcenter = 0;
        OpenImage(1200, 800);
        Retrieve(Example("per0812a.dar"));
        ASSERT_EQ(session().nstar, 19u);
    }

    TDisplayWindow& display() { return *window_->DisplayWin(); }
    TStatusWindow& status() { return *window_->StatusWin(); }
    TAnalysisWindow& analysis() { return *window_->AnalysisWin(); }
    SessionData& session() { return *Session; }

    // The pane pixel of star i and of meteor point j in an image 800 rows
    // high at original pixels, the pane as large as the image.
    QPoint StarPixel(int i) { return PanePixel(session().fxstr(i), session().fystr(i)); }
    QPoint PointPixel(int j) { return PanePixel(session().fxmet(j), session().fymet(j)); }
    static QPoint PanePixel(float x, float y) {
        return QPoint(static_cast<int>(250.0f / 3.0f * x + 0.5f), static_cast<int>(799.0f - 250.0f / 3.0f * y + 0.5f));
    }
    // Right-clicks at p in a pane and returns the items of the menu that
    // opened ("(no menu)" when none did), then runs `then` on it (default:
    // dismiss it with Escape).
    std::vector<std::string> RightClick(QWidget* pane, QPoint p, std::function<void(QMenu*)> then = {}) {
        std::vector<std::string> items{"(no menu)"};
        WhenPopup([&](QMenu* menu) {
            items.clear();
            for (const QAction* a : menu->actions())
                if (!a->isSeparator()) items.push_back(a->text().toStdString());
            if (then) {
                then(menu);
            } else {
                QTest::keyClick(menu, Qt::Key_Escape);
            }
        });
        QTest::mouseClick(pane, Qt::RightButton, {}, p);
        QApplication::processEvents();
        return items;
    }

    testing_support::ScratchDir scratch_;
    fs::path dir_ = scratch_.path();
    fs::path manual_dir_ = fs::path(VELKARN_SOURCE_DIR) / "docs" / "manual";
    bool as_program_ = false, real_dialogs_ = false;
    ScriptedMessageBox messages_;
    ScriptedFileDialog files_;
    ScriptedTextInput text_;
    shell_test::ScriptedExposure exposure_;
    shell_test::ScriptedMeasureDialogs measure_;
    ScriptedClipboard clipboard_;
    shell_test::NoDesktop desktop_;
    std::unique_ptr<TMainWindow> window_;
};

}  // namespace ui_test
