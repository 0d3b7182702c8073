// Closing the main window: unsaved work first, then the settings file.
#include "platform/message_box.h"
#include "shell/main_commands.h"
#include "shell/shell_view.h"
#include "shell/state_flags.h"

bool MainCommands::CanClose() {
    if (sf.changed) {
        const MbAnswer a =
            s_.messages.Show("Session not saved. Save first?", "Exit Velkarn", MbButtons::YesNoCancel, MbIcon::None);
        if (a == MbAnswer::Cancel) return false;
        // Only No gives the unsaved work up; a save that was cancelled or
        // failed keeps the program running with the session as it was.
        if (a == MbAnswer::Yes && !WMSaveSession()) return false;
    }
    // Saved or given up: nothing is left to recover.
    recovery_.Remove();
    WindowPlacement normal;
    bool maximised = false;
    s_.view.GetPlacement(normal, maximised);
    // A settings file that cannot be written is skipped: closing goes on.
    WriteIniValues(env_, opt, start_, normal, maximised);
    if (sf.inchain) LeaveClipboardWatch();
    return true;
}
