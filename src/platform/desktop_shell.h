#pragma once
#include <string>

// The desktop's program launcher: shows a file in the program the desktop
// associates with it, and finds an already open viewer by its window title.
class DesktopShell {
public:
    virtual ~DesktopShell() = default;
    // Brings a top-level window with exactly this title to the top; false
    // when there is none (or the desktop cannot tell).
    virtual bool RaiseWindow(const std::string& title) = 0;
    // Opens the file with the desktop's associated program.
    virtual void OpenFile(const std::string& path) = 0;
    // Starts the desktop's clipboard viewer, where it has one.
    virtual void OpenClipboardViewer() = 0;
};
