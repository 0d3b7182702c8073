#include "ui/platform/qt_text_input.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

TextInputDialog::TextInputDialog(const QString& title, const QString& prompt, const QString& text, int maxChars,
                                 QWidget* parent)
    : QDialog(parent), edit_(new QLineEdit(this)) {
    setObjectName(QStringLiteral("VelkarnTextInput"));
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(prompt, this);
    label->setBuddy(edit_);
    layout->addWidget(label);
    if (maxChars > 0) edit_->setMaxLength(maxChars);
    edit_->setText(text);
    edit_->selectAll();
    layout->addWidget(edit_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    setMinimumWidth(300);
}

QString TextInputDialog::text() const { return edit_->text(); }

bool QtTextInput::Ask(const std::string& title, const std::string& prompt, std::string& text, int limit) {
    QWidget* owner = QApplication::activeModalWidget();
    if (owner == nullptr) owner = parent_;
    const int maxChars = limit > 1 ? limit - 1 : 0;
    TextInputDialog dialog(QString::fromStdString(title), QString::fromStdString(prompt),
                           QString::fromStdString(text).left(maxChars > 0 ? maxChars : -1), maxChars, owner);
    if (dialog.exec() != QDialog::Accepted) return false;
    std::string typed = dialog.text().toStdString();
    // A multi-byte character may not be cut in the middle.
    if (maxChars > 0) {
        while (typed.size() > static_cast<std::size_t>(maxChars)) {
            typed.pop_back();
            while (!typed.empty() && (static_cast<unsigned char>(typed.back()) & 0xC0) == 0x80) typed.pop_back();
        }
    }
    text = typed;
    return true;
}
