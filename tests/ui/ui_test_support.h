#pragma once
// Helpers of the window tests: acting on a modal dialog once it is open
// (as a user would, while its exec() runs).
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QMenu>
#include <QTimer>
#include <functional>
#include <memory>

namespace ui_test {

// What a widget shows now, one QRgb per pixel.
inline QImage Painted(QWidget* w) {
    QApplication::processEvents();
    return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Runs act on the window find() gives as soon as it shows (a modal dialog
// or a menu shown with exec() runs its own event loop, so the test acts from
// a timer inside it). After two seconds without one, the test fails and
// whatever modal window is open is rejected, so a test can never hang.
inline void WhenShown(const QString& what, std::function<QWidget*()> find, std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    auto waited = std::make_shared<int>(0);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, waited, what, find, act] {
        QWidget* w = find();
        if (w != nullptr && w->isVisible()) {
            timer->stop();
            timer->deleteLater();
            act(w);
            return;
        }
        if (++*waited > 400) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "no " << what.toStdString() << " appeared";
            if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) d->reject();
        }
    });
    timer->start();
}

// The first modal window whose object name is `name` (any modal window when
// empty).
inline void WhenModal(const QString& name, std::function<void(QWidget*)> act) {
    WhenShown("modal window " + name, [name]() -> QWidget* {
        QWidget* w = QApplication::activeModalWidget();
        return w != nullptr && (name.isEmpty() || w->objectName() == name) ? w : nullptr;
    }, std::move(act));
}

// The next popup menu.
inline void WhenPopup(std::function<void(QMenu*)> act) {
    WhenShown("menu", [] { return QApplication::activePopupWidget(); },
              [act](QWidget* w) { act(qobject_cast<QMenu*>(w)); });
}

}  // namespace ui_test
