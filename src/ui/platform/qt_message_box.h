#pragma once
// Message boxes through QMessageBox: the text, caption, buttons and icon
// exactly as given. The caption is the whole window title (the program sets
// no application display name, which Qt would append). The first button is
// the default: Enter gives the first answer.
#include <QPointer>
#include <QWidget>

#include "platform/message_box.h"

class QtMessageBox : public MessageBoxService {
public:
    // The box is owned by the modal dialog that is open at the time, or
    // else by parent (normally the main window).
    explicit QtMessageBox(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }

    MbAnswer Show(const std::string& text, const std::string& caption, MbButtons buttons, MbIcon icon) override;

private:
    QPointer<QWidget> parent_;
};
