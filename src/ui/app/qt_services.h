#pragma once
// The desktop's own implementations of the services the commands ask for,
// owned by the main window, and the set the commands actually use: the
// window's own, except where a test put scripted ones in place.
#include <memory>

#include "shell/measure_dialogs.h"
#include "ui/app/ui_services.h"
#include "ui/platform/qt_clipboard.h"
#include "ui/platform/qt_desktop_shell.h"
#include "ui/platform/qt_file_dialog.h"
#include "ui/platform/qt_message_box.h"
#include "ui/platform/qt_progress.h"
#include "ui/platform/qt_text_input.h"

class QWidget;
class TStatusWindow;

// The measuring dialogs are not part of this program yet: a click in the
// image view measures nothing, a replay or template dialog ends at once as
// if BREAK had been pressed.
class NoMeasureDialogs : public MeasureDialogs {
public:
    void RunStarDialog(int, int) override {}
    void RunMeteorDialog(int, int) override {}
    DialogEnd RunStarReplay(int, int, int) override { return DialogEnd::Break; }
    DialogEnd RunMeteorReplay(int, int, int) override { return DialogEnd::Break; }
    DialogEnd RunTemplateStar(int, int, const CatStar&) override { return DialogEnd::Break; }
};

struct QtServices {
    // window owns the dialogs; the status strip draws the progress.
    QtServices(QWidget* window, TStatusWindow* status, const UiServices& injected);
    ~QtServices();

    QtMessageBox qt_messages;
    QtFileDialog qt_files;
    QtTextInput qt_text;
    std::unique_ptr<ExposureDialogRunner> qt_exposure;
    NoMeasureDialogs no_measure;
    QtClipboard qt_clipboard;  // also the clipboard watch, whatever reads it
    QtDesktopShell qt_desktop;
    QtProgress progress;

    // What the commands use.
    UiServices in_use;
};
