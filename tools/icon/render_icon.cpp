// Writes the program's icon "ICON_1" as PNG files for the desktop's icon
// theme: velkarn-icon DIR SIZE... writes DIR/SIZExSIZE/apps/velkarn.png.
#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <cstdio>

#include "ui/resources/program_art.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: velkarn-icon DIR SIZE...\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    const QString root = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        const int size = QString::fromLocal8Bit(argv[i]).toInt();
        if (size <= 0) {
            std::fprintf(stderr, "velkarn-icon: bad size %s\n", argv[i]);
            return 2;
        }
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(root).arg(size);
        if (!QDir().mkpath(dir) || !ProgramIconPixmap(size).save(dir + QStringLiteral("/velkarn.png"))) {
            std::fprintf(stderr, "velkarn-icon: cannot write %s\n", qPrintable(dir));
            return 1;
        }
    }
    return 0;
}
