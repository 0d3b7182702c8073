#pragma once
// TMainWindow, the program's only top-level window: the menu bar, the image
// view and the analysis view sharing the client area, the status strip along
// its bottom. Every decision lives in MainCommands; the window forwards its
// menu commands, clicks and close request there, and does what the commands
// ask of it through ShellView.
#include <QMainWindow>
#include <QPointer>
#include <memory>
#include <optional>

#include "shell/program_paths.h"
#include "shell/shell_view.h"
#include "ui/app/ui_services.h"
#include "ui/platform/wait_cursor.h"

class MainCommands;
class QAction;
class QMenu;
class TAnalysisWindow;
class TDisplayWindow;
class THelpWindow;
class TStatusWindow;
struct QtServices;

inline constexpr const char* kNoImageCaption = "Velkarn - [No image]";

class TMainWindow : public QMainWindow, public ShellView {
    Q_OBJECT
public:
    // Reads the settings, creates the empty session and the three panes,
    // builds the menu and joins the clipboard watch. Services left null in
    // `services` are the desktop's own.
    TMainWindow(const ProgramPaths& paths, const SettingsEnvironment& env, const UiServices& services = {});
    ~TMainWindow() override;

    // Shows the window where the settings placed it, then offers the
    // recovery copy of a run that did not end normally.
    void ShowAtStart();

    MainCommands& commands() const { return *commands_; }
    TDisplayWindow* DisplayWin() const { return display_; }
    TAnalysisWindow* AnalysisWin() const { return analysis_; }
    TStatusWindow* StatusWin() const { return status_; }
    THelpWindow* HelpWin() const { return help_; }
    // The menu item of a command id; nullptr for none.
    QAction* CommandAction(int id) const;

    // Runs a command as its menu item does. A command that arrives while
    // another one runs is dropped: commands never nest.
    void Command(int id);

    // --- ShellView ---
    void MenuStateChanged() override;
    void SetCaption(const std::string& caption) override;
    void ShowPane(bool analysis) override;
    void RepaintMain(bool erase) override;
    void RepaintDisplay(bool erase) override;
    void PaintMarkers() override;
    void RepaintStatus() override;
    void RepaintAnalysis() override;
    void ShowStatusButtons(bool show) override;
    void DisplaySetScroller() override;
    void DisplaySetImageZoom() override;
    void DisplaySetImagePixel() override;
    void DisplayResetZoom() override;
    void SetWaitCursor(bool wait) override;
    void WatchClipboard(bool watch) override;
    void Beep() override;
    void Pause(int milliseconds) override;
    void GetPlacement(WindowPlacement& normal, bool& maximised) override;
    std::optional<std::string> ImageViewPng() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenus();
    // The command enablers: every item of a menu that is about to open
    // takes its state from the enable rule.
    void EnableItems(QMenu* menu);
    void EvSize(int w, int h);
    // A menu item highlighted or a menu closed: a click still pending on
    // the image view never reaches it.
    void EvMenuSelect();
    void EvActivateApp();

    void WMFileExit();
    void WMImageBrightness();
    void WMOptionPhotoCD();
    void WMHelpManual();
    void WMHelpAbout();

    std::unique_ptr<QtServices> qt_;
    std::unique_ptr<MainCommands> commands_;
    QWidget* client_ = nullptr;
    TStatusWindow* status_ = nullptr;
    TAnalysisWindow* analysis_ = nullptr;
    TDisplayWindow* display_ = nullptr;
    THelpWindow* help_ = nullptr;
    bool in_command_ = false;
    int wait_depth_ = 0;
    std::optional<WaitCursor> wait_cursor_;
};
