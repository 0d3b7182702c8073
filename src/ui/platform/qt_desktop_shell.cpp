#include "ui/platform/qt_desktop_shell.h"

#include <QApplication>
#include <QDesktopServices>
#include <QUrl>
#include <QWidget>

bool QtDesktopShell::RaiseWindow(const std::string& title) {
    const QString wanted = QString::fromStdString(title);
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && w->windowTitle() == wanted) {
            w->raise();
            w->activateWindow();
            return true;
        }
    }
    return false;
}

void QtDesktopShell::OpenFile(const std::string& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}
