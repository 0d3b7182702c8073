#pragma once
// One running copy per user. The first copy listens on a local socket named
// after its window class and the user; a later start connects to it, asks it
// to bring its active window forward and ends, without reading or writing
// any of the program's files.
#include <QObject>
#include <QString>

class QLocalServer;

// The socket name: "TVelkarnWindow-<user>" in the user's runtime directory,
// which only that user can enter.
QString InstanceServerName();

// Asks a running copy to raise its active window. True when a copy answered
// the connection (the caller then ends); false when none runs.
bool HandOverToRunningCopy(const QString& server_name, int timeout_ms = 1000);

// The listening side, owned by the first copy.
class InstanceServer : public QObject {
    Q_OBJECT
public:
    explicit InstanceServer(QObject* parent = nullptr);
    // Starts listening; a socket file left behind by a copy that ended
    // without closing is removed first. False when another copy answers on
    // the name or it cannot be used.
    bool Listen(const QString& server_name);

signals:
    // A later start asked for the running copy's window.
    void raiseRequested();

private:
    void OnConnection();
    QLocalServer* server_;
};

// Brings the window the user works in to the front: an open modal dialog,
// else the given main window, restored when it was minimised.
void RaiseActiveWindow(class QWidget* main_window);
