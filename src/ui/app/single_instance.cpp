#include "ui/app/single_instance.h"

#include <QApplication>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QWidget>

#include <unistd.h>

namespace {
constexpr char kRaiseRequest[] = "raise\n";
constexpr char kRaiseAnswer[] = "ok\n";

QString UserName() {
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty()) user = QString::number(getuid());
    return user;
}
}  // namespace

QString InstanceServerName() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    return QDir(dir).filePath(QStringLiteral("TVelkarnWindow-") + UserName());
}

bool HandOverToRunningCopy(const QString& server_name, int timeout_ms) {
    QLocalSocket socket;
    socket.connectToServer(server_name);
    if (!socket.waitForConnected(timeout_ms)) return false;
    socket.write(kRaiseRequest);
    socket.waitForBytesWritten(timeout_ms);
    // The answer only tells that the request was read; a copy too busy to
    // answer has still been reached, and a second window must not open.
    socket.waitForReadyRead(timeout_ms);
    socket.disconnectFromServer();
    return true;
}

InstanceServer::InstanceServer(QObject* parent) : QObject(parent), server_(new QLocalServer(this)) {
    // The socket lives in the user's own runtime directory, which no one
    // else may enter. (Access options would make Qt create the socket
    // elsewhere and rename it over the name, silently replacing a running
    // copy's socket.)
    connect(server_, &QLocalServer::newConnection, this, &InstanceServer::OnConnection);
}

bool InstanceServer::Listen(const QString& server_name) {
    // A copy that started at the same moment may have taken the name.
    QLocalSocket probe;
    probe.connectToServer(server_name);
    if (probe.waitForConnected(200)) return false;
    // Nobody answers: a socket file there is a leftover of a copy that
    // ended abnormally.
    QLocalServer::removeServer(server_name);
    return server_->listen(server_name);
}

void InstanceServer::OnConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) return;
            if (socket->readLine() == kRaiseRequest) {
                socket->write(kRaiseAnswer);
                socket->flush();
                emit raiseRequested();
            }
        });
    }
}

void RaiseActiveWindow(QWidget* main_window) {
    // A dialog open over a minimised main window stays out of sight until
    // the main window is back.
    if (main_window) {
        if (main_window->isMinimized()) main_window->showNormal();
        main_window->raise();
    }
    QWidget* window = QApplication::activeModalWidget();
    if (!window) window = main_window;
    if (!window) return;
    window->show();
    window->raise();
    window->activateWindow();
}
