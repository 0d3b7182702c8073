#include "ui/app/velkarn_app.h"

#include <clocale>

#include <QApplication>
#include <QScreen>

#include "ui/app/main_window.h"
#include "ui/app/program_start.h"
#include "ui/app/single_instance.h"

void UseFileNumberFormat() { std::setlocale(LC_NUMERIC, "C"); }

TVelkarnApp::TVelkarnApp(int& argc, char** argv) : argc_(argc), argv_(argv) {
    // The application name places the per-user directories
    // (~/.config/velkarn, ~/.local/share/velkarn). No display name is set:
    // Qt would append it to every caption, and message box captions must
    // read exactly as given.
    QCoreApplication::setApplicationName(QStringLiteral("velkarn"));
}

TVelkarnApp::~TVelkarnApp() {
    main_.reset();
    server_.reset();
    qt_.reset();
}

int TVelkarnApp::Run() {
    // A second start hands over before it builds anything of its own: the
    // local socket needs no QApplication, and connecting to the desktop
    // would cost most of the time.
    const QString name = InstanceServerName();
    if (HandOverToRunningCopy(name)) return 0;
    qt_ = std::make_unique<QApplication>(argc_, argv_);
    UseFileNumberFormat();
    server_ = std::make_unique<InstanceServer>();
    if (!server_->Listen(name) && HandOverToRunningCopy(name)) return 0;
    InitMainWindow();
    QObject::connect(server_.get(), &InstanceServer::raiseRequested, main_.get(),
                     [this] { RaiseActiveWindow(main_.get()); });
    main_->ShowAtStart();
    return qt_->exec();
}

void TVelkarnApp::InitMainWindow() {
    const ProgramStart start = FindProgramStart();
    main_ = std::make_unique<TMainWindow>(start.paths, start.env);
}
