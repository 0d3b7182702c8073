#pragma once
// What the main window's commands ask of the window they run in: repaint a
// pane, set the caption, switch panes, follow the enable state. The Qt main
// window implements it; tests record the calls.
#include <optional>
#include <string>

#include "files/settings_file.h"

class ShellView {
public:
    virtual ~ShellView() = default;
    // CmdEnabled/menumask changed: the menus and the enabled state follow.
    virtual void MenuStateChanged() = 0;
    virtual void SetCaption(const std::string& caption) = 0;
    // true: the analysis view is shown and the image view hidden; false the
    // reverse.
    virtual void ShowPane(bool analysis) = 0;
    virtual void RepaintMain(bool erase) = 0;
    virtual void RepaintDisplay(bool erase) = 0;
    // Draws the markers of the image view at once (the selection in red).
    virtual void PaintMarkers() = 0;
    virtual void RepaintStatus() = 0;
    virtual void RepaintAnalysis() = 0;
    virtual void ShowStatusButtons(bool show) = 0;
    // The image view's scaling: recompute the scroll ranges, switch to fit
    // mode, switch to original pixels.
    virtual void DisplaySetScroller() = 0;
    virtual void DisplaySetImageZoom() = 0;
    virtual void DisplaySetImagePixel() = 0;
    // The mode's command was chosen while the view is in that mode: a zoom
    // ends and the mode shows as it was. A view without zoom has nothing to do.
    virtual void DisplayResetZoom() {}
    virtual void SetWaitCursor(bool wait) = 0;
    // Join (true) or leave (false) the watch of the clipboard: while
    // joined, every change of the clipboard calls
    // MainCommands::ExamineClipboard. The commands examine it themselves
    // right after joining.
    virtual void WatchClipboard(bool watch) = 0;
    virtual void Beep() = 0;
    // Waits, keeping the order of what happens before and after.
    virtual void Pause(int milliseconds) = 0;
    // The window's last normal rectangle and whether it is maximised, for
    // the settings file.
    virtual void GetPlacement(WindowPlacement& normal, bool& maximised) = 0;
    // The image view as it is shown (picture, markers and whatever else is
    // drawn on it) as the bytes of a PNG file; empty when it cannot be
    // made. None from a view without pictures (the scripted tests' view).
    virtual std::optional<std::string> ImageViewPng() { return std::nullopt; }
};
