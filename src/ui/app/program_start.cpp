#include "ui/app/program_start.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <cstdlib>

ProgramStart FindProgramStart() {
    const std::filesystem::path exe_dir = QCoreApplication::applicationDirPath().toStdString();
    const ProgramLocations where =
        StandardLocations(exe_dir, [](const char* name) -> const char* { return std::getenv(name); });
    ProgramStart start;
    start.paths = ResolveProgramPaths(where, FileSystemProbes());
    std::error_code ec;
    CreateWritableDirs(start.paths, ec);
    int screen_width = 0;
    int screen_height = 0;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect r = screen->availableGeometry();
        screen_width = r.width();
        screen_height = r.height();
    }
    start.env = SettingsEnvironmentFor(start.paths, QDir::homePath().toStdString(), screen_width, screen_height);
    return start;
}
