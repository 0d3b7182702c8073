#include "ui/app/single_instance.h"

#include <QApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

#include <unistd.h>

#include <cstdlib>

#include "platform/instance_socket.h"

QString InstanceServerName() {
    const std::string path = InstanceSocketPath([](const char* name) { return std::getenv(name); }, getuid());
    // Qt does not create a missing runtime directory for a full socket path.
    PreparePrivateDir(path.substr(0, path.rfind('/')));
    return QString::fromStdString(path);
}

bool HandOverToRunningCopy(const QString& server_name, int timeout_ms) {
    return HandOverToRunningCopy(server_name.toStdString(), timeout_ms);
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
