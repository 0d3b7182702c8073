#include "ui/platform/qt_progress.h"

#include <QCoreApplication>

#include "ui/platform/input_blocker.h"

QtProgress::QtProgress(std::function<void(int)> report, std::function<void()> clear)
    : report_(std::move(report)), clear_(std::move(clear)) {}

QtProgress::~QtProgress() = default;

void QtProgress::Begin() {
    if (!blocker_) blocker_ = std::make_unique<InputBlocker>();
}

void QtProgress::Report(int percent) {
    Begin();
    if (report_) report_(percent);
}

bool QtProgress::EscapePressed() {
    Begin();
    QCoreApplication::processEvents();
    return blocker_->TakeEscape();
}

void QtProgress::Clear() {
    if (blocker_) {
        QCoreApplication::processEvents();
        blocker_.reset();
    }
    if (clear_) clear_();
}
