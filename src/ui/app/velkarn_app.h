#pragma once
// The application object: guarantees one running copy per user, builds the
// main window and runs the event loop.
#include <memory>

class QApplication;
class InstanceServer;
class TMainWindow;

// Every file the program writes or reads keeps a decimal point, whatever
// the desktop's locale says; called once the QApplication (which takes the
// desktop's locale) exists.
void UseFileNumberFormat();

class TVelkarnApp {
public:
    // Keeps the command line for the QApplication, which Run creates once
    // no other copy answers.
    TVelkarnApp(int& argc, char** argv);
    ~TVelkarnApp();
    TVelkarnApp(const TVelkarnApp&) = delete;
    TVelkarnApp& operator=(const TVelkarnApp&) = delete;

    // Hands over to a running copy and returns 0 at once when one answers;
    // otherwise builds the main window and runs until it closes. Returns
    // the process exit code.
    int Run();

private:
    // Reads the settings and builds the main window.
    void InitMainWindow();

    int& argc_;
    char** argv_;
    std::unique_ptr<QApplication> qt_;
    std::unique_ptr<InstanceServer> server_;
    std::unique_ptr<TMainWindow> main_;
};
