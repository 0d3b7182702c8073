#pragma once
// Helpers of the window tests: acting on a modal dialog once it is open
// (as a user would, while its exec() runs).
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>


namespace ui_test {

// Runs act on the first modal window whose object name is `name` (any modal
// window when empty), as soon as it is shown. After two seconds without
// one, the test fails and whatever modal window is open is rejected, so a
// test can never hang.
inline void WhenModal(const QString& name, std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    auto waited = std::make_shared<int>(0);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, waited, name, act] {
        QWidget* w = QApplication::activeModalWidget();
        if (w != nullptr && w->isVisible() && (name.isEmpty() || w->objectName() == name)) {
            timer->stop();
            timer->deleteLater();
            act(w);
            return;
        }
        if (++*waited > 400) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "no modal window " << name.toStdString() << " appeared";
            if (auto* d = qobject_cast<QDialog*>(w)) d->reject();
        }
    });
    timer->start();
}

// Answers a run of modal windows of one name, one after another: act answers
// the window shown and says whether another is to follow.
inline void WhenEachModal(const QString& name, std::function<bool(QWidget*)> act) {
    WhenModal(name, [name, act](QWidget* w) {
        if (act(w)) WhenEachModal(name, act);
    });
}

}  // namespace ui_test
