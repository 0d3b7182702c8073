#include "ui/app/qt_services.h"

#include "files/exposure_dialogs.h"
#include "ui/app/status_window.h"
#include "ui/dialogs/exposure_dialog_runner.h"

QtServices::QtServices(QWidget* window, TStatusWindow* status, const UiServices& injected)
    : qt_messages(window),
      qt_files(window),
      qt_text(window),
      progress([status](int percent) { status->Progress(percent); }, [status] { status->EndProgress(); }) {
    in_use.messages = injected.messages ? injected.messages : &qt_messages;
    in_use.files = injected.files ? injected.files : &qt_files;
    in_use.text = injected.text ? injected.text : &qt_text;
    qt_exposure = std::make_unique<QtExposureDialogRunner>(window, *in_use.messages, *in_use.text);
    in_use.exposure = injected.exposure ? injected.exposure : qt_exposure.get();
    qt_measure = std::make_unique<QtMeasureDialogs>(window, *in_use.messages);
    in_use.measure = injected.measure ? injected.measure : qt_measure.get();
    in_use.clipboard = injected.clipboard ? injected.clipboard : &qt_clipboard;
    in_use.desktop = injected.desktop ? injected.desktop : &qt_desktop;
}

QtServices::~QtServices() = default;
