#pragma once
// The standard text-input dialog: a title, a prompt, one edit field that
// takes at most limit - 1 characters, OK and Cancel.
#include <QDialog>
#include <QPointer>

#include "platform/text_input.h"

class QLineEdit;

class TextInputDialog : public QDialog {
    Q_OBJECT
public:
    TextInputDialog(const QString& title, const QString& prompt, const QString& text, int maxChars,
                    QWidget* parent = nullptr);
    QString text() const;
    QLineEdit* edit() const { return edit_; }

private:
    QLineEdit* edit_;
};

class QtTextInput : public TextInputService {
public:
    explicit QtTextInput(QWidget* parent = nullptr) : parent_(parent) {}
    bool Ask(const std::string& title, const std::string& prompt, std::string& text, int limit) override;

private:
    QPointer<QWidget> parent_;
};
