#pragma once
// The program's own help window: the HTML manual shipped with the program,
// shown in a text browser so that it works without a web browser. It takes
// the place of the help viewer on "velkarn.hlp": Help > Manual opens it at
// its contents, and it closes with the main window.
#include <QString>
#include <QWidget>

class QTextBrowser;

class THelpWindow : public QWidget {
    Q_OBJECT
public:
    // index: the manual's contents page (manual/index.html in the data
    // directory).
    THelpWindow(const QString& index, QWidget* parent);

    // Shows the contents page and brings the window forward.
    void ShowContents();
    QTextBrowser* browser() const { return browser_; }

private:
    QString index_;
    QTextBrowser* browser_;
};
