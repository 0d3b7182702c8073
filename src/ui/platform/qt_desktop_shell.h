#pragma once
// The desktop's program launcher through QDesktopServices. Another program's
// window cannot be found by its title on every Linux desktop, so RaiseWindow
// looks only among this program's own windows; Play then opens the file
// again, which the desktop's viewer handles as it sees fit.
#include "platform/desktop_shell.h"

class QtDesktopShell : public DesktopShell {
public:
    bool RaiseWindow(const std::string& title) override;
    void OpenFile(const std::string& path) override;
    // Linux desktops have no common clipboard viewer: nothing happens.
    void OpenClipboardViewer() override {}
};
