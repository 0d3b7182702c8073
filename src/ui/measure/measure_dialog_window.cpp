#include "ui/measure/measure_dialog_window.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>

#include "astro/numerical_error.h"
#include "files/options.h"
#include "platform/message_box.h"
#include "ui/measure/meas_control.h"

DialogEnd DialogEndOf(int exec_result) {
    if (exec_result == QDialog::Accepted) return DialogEnd::Ok;
    if (exec_result == kBreakResult) return DialogEnd::Break;
    return DialogEnd::Cancel;
}

namespace {

QWidget* MakeMagnifier(const ControlSpec& c, QWidget* parent) {
    return c.id == kMagnifierId ? new TMeasControl(parent) : nullptr;
}

}  // namespace

TMeasureDialog::TMeasureDialog(std::string_view resource, QWidget* parent, MeteorImage& image,
                               MessageBoxService& messages)
    : ResourceDialog(resource, parent, MakeMagnifier), messages_(messages), image_(image) {
    control_ = ControlAs<TMeasControl>(kMagnifierId);
    control_->Attach(this);
}

TMeasureDialog::~TMeasureDialog() = default;

void TMeasureDialog::SetCore(std::unique_ptr<MeasureDialog> core) {
    core_ = std::move(core);
    core_->SetSnap(opt.snapcentre != 0);
    if (!core_->snaps()) return;
    constexpr int kNoteHeight = 24;
    snap_note_ = new QLabel(this);
    snap_note_->setObjectName(QStringLiteral("snap_note"));
    snap_note_->setGeometry(8, height(), width() - 16, kNoteHeight - 4);
    setFixedSize(width(), height() + kNoteHeight);
}

void TMeasureDialog::ShowSnapNote() {
    if (!snap_note_ || !core_->measured()) return;
    snap_note_->setText(core_->snapped_from() ? QStringLiteral("The click was moved to the star's centre.")
                                              : QString::fromStdString(core_->snap_note()));
}

void TMeasureDialog::SetupWindow() {
    const QWidget* parent = parentWidget();
    if (parent == nullptr) return;
    const QRect main = parent->window()->frameGeometry();
    const DialogPlace p = MeasureDialogPlace(main.x(), main.y(), main.width(), main.height(), width(), height());
    move(p.x, p.y);
}

void TMeasureDialog::Run(const std::function<void()>& event) {
    if (!core_ || ending_) return;
    try {
        event();
    } catch (const NumericalError& e) {
        messages_.Show(e.what(), windowTitle().toStdString(), MbButtons::Ok, MbIcon::Exclamation);
    }
    SyncControls();
    ShowSnapNote();
    control_->update();
    if (core_->finished()) {
        ending_ = true;
        switch (core_->result()) {
            case DialogEnd::Ok: done(QDialog::Accepted); break;
            case DialogEnd::Cancel: done(QDialog::Rejected); break;
            case DialogEnd::Break: done(kBreakResult); break;
        }
    }
}

void TMeasureDialog::WMPosition(ControlPoint p) {
    control_->ClickTaken();
    Run([&] { core_->Click(p); });
}

void TMeasureDialog::MagnifierKeyPressed(MagnifierKey key, bool shift) {
    Run([&] { core_->Key(key, shift); });
}

void TMeasureDialog::EvRButtonDown() {
    Run([&] { core_->RightClick(); });
}

void TMeasureDialog::FocusMagnifierOnClick() {
    if (qobject_cast<QLineEdit*>(QApplication::focusWidget()) == nullptr) control_->setFocus(Qt::MouseFocusReason);
}

void TMeasureDialog::accept() {
    Run([&] { core_->Ok(); });
}

void TMeasureDialog::reject() {
    Run([&] { core_->Cancel(); });
}

void TMeasureDialog::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        EvRButtonDown();
        return;
    }
    ResourceDialog::mousePressEvent(event);
}
