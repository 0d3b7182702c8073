#include "ui/app/velkarn_app.h"

#include <clocale>

#include <QApplication>
#include <QScreen>

#include "ui/app/main_window.h"
#include "ui/app/program_start.h"
#include "ui/app/single_instance.h"

void UseFileNumberFormat() { std::setlocale(LC_NUMERIC, "C"); }

TVelkarnApp::TVelkarnApp(int& argc, char** argv) {
    // The application name places the per-user directories
    // (~/.config/velkarn, ~/.local/share/velkarn). No display name is set:
    // Qt would append it to every caption, and message box captions must
    // read exactly as given.
    QCoreApplication::setApplicationName(QStringLiteral("velkarn"));
    qt_ = std::make_unique<QApplication>(argc, argv);
    UseFileNumberFormat();
}

TVelkarnApp::~TVelkarnApp() {
    main_.reset();
    server_.reset();
}

int TVelkarnApp::Run() {
    const QString name = InstanceServerName();
    if (HandOverToRunningCopy(name)) return 0;
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
