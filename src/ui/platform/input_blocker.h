#pragma once
// Keeps the program from acting on input while long work runs inline on the
// user-interface thread (loading a BMP, a Photo CD image or a video,
// averaging frames). Installed on the application, it lets repaints, resizes
// and timers through, remembers an Escape key press, and swallows every
// other key press, mouse click, wheel turn, shortcut, context menu and
// window close, so that no menu command or click re-enters the program
// while the work is under way.
#include <QObject>

class InputBlocker : public QObject {
    Q_OBJECT
public:
    // Starts blocking at once; stops when destroyed.
    InputBlocker();
    ~InputBlocker() override;
    InputBlocker(const InputBlocker&) = delete;
    InputBlocker& operator=(const InputBlocker&) = delete;

    // Whether Escape was pressed since the last call; clears the mark.
    bool TakeEscape();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool escape_ = false;
};
