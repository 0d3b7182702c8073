#include "ui/platform/qt_message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

QMessageBox::Icon IconOf(MbIcon icon) {
    switch (icon) {
        case MbIcon::None: return QMessageBox::NoIcon;
        case MbIcon::Information: return QMessageBox::Information;
        case MbIcon::Question: return QMessageBox::Question;
        case MbIcon::Exclamation: return QMessageBox::Warning;
        case MbIcon::Stop: return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

struct ButtonSet {
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton first;
    QMessageBox::StandardButton escape;  // NoButton: Escape does nothing
};

ButtonSet ButtonsOf(MbButtons buttons) {
    switch (buttons) {
        case MbButtons::Ok: return {QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok};
        case MbButtons::OkCancel:
            return {QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok, QMessageBox::Cancel};
        case MbButtons::YesNo: return {QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, QMessageBox::NoButton};
        case MbButtons::YesNoCancel:
            return {QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes,
                    QMessageBox::Cancel};
    }
    return {QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok};
}

MbAnswer AnswerOf(int button, MbButtons buttons) {
    switch (button) {
        case QMessageBox::Ok: return MbAnswer::Ok;
        case QMessageBox::Yes: return MbAnswer::Yes;
        case QMessageBox::No: return MbAnswer::No;
        case QMessageBox::Cancel: return MbAnswer::Cancel;
        default: break;
    }
    // Closed some other way: the answer that changes nothing.
    return buttons == MbButtons::YesNo ? MbAnswer::No : buttons == MbButtons::Ok ? MbAnswer::Ok : MbAnswer::Cancel;
}

}  // namespace

MbAnswer QtMessageBox::Show(const std::string& text, const std::string& caption, MbButtons buttons, MbIcon icon) {
    QWidget* owner = QApplication::activeModalWidget();
    if (owner == nullptr) owner = parent_;
    QMessageBox box(owner);
    box.setObjectName(QStringLiteral("VelkarnMessageBox"));
    box.setIcon(IconOf(icon));
    box.setWindowTitle(QString::fromStdString(caption));
    box.setTextFormat(Qt::PlainText);
    box.setText(QString::fromStdString(text));
    const ButtonSet set = ButtonsOf(buttons);
    box.setStandardButtons(set.buttons);
    box.setDefaultButton(set.first);
    if (set.escape != QMessageBox::NoButton) box.setEscapeButton(set.escape);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    return AnswerOf(clicked ? box.standardButton(clicked) : QMessageBox::NoButton, buttons);
}
