#pragma once
// The desktop's own implementations of the services the commands ask for,
// owned by the main window, and the set the commands actually use: the
// window's own, except where a test put scripted ones in place.
#include <memory>

#include "shell/measure_dialogs.h"
#include "ui/app/ui_services.h"
#include "ui/measure/qt_measure_dialogs.h"
#include "ui/platform/qt_clipboard.h"
#include "ui/platform/qt_desktop_shell.h"
#include "ui/platform/qt_file_dialog.h"
#include "ui/platform/qt_message_box.h"
#include "ui/platform/qt_progress.h"
#include "ui/platform/qt_text_input.h"

class QWidget;
class TStatusWindow;

struct QtServices {
    // window owns the dialogs; the status strip draws the progress.
    QtServices(QWidget* window, TStatusWindow* status, const UiServices& injected);
    ~QtServices();

    QtMessageBox qt_messages;
    QtFileDialog qt_files;
    QtTextInput qt_text;
    std::unique_ptr<ExposureDialogRunner> qt_exposure;
    std::unique_ptr<QtMeasureDialogs> qt_measure;
    QtClipboard qt_clipboard;  // also the clipboard watch, whatever reads it
    QtDesktopShell qt_desktop;
    QtProgress progress;

    // What the commands use.
    UiServices in_use;
};
