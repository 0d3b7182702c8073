#include "ui/measure/meas_control.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "image/meteor_image.h"
#include "measure/magnifier_render.h"
#include "ui/measure/measure_dialog_window.h"
#include "ui/platform/qt_canvas.h"
#include "ui/resources/program_art.h"

using namespace magnifier;

TMeasControl::TMeasControl(QWidget* parent) : QWidget(parent) {
    setFixedSize(kControlSize, kControlSize);
    setCursor(RingCursor());
    // Every pixel is painted here, and a click must not take the focus from
    // a field the observer is typing in: the dialog gives the focus.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::TabFocus);
}

void TMeasControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QtCanvas canvas(painter);
    if (dialog_ == nullptr || !dialog_->HasCore()) {
        canvas.FillRect({0, 0, kControlSize, kControlSize}, kMagnifierGrey.red, kMagnifierGrey.green,
                        kMagnifierGrey.blue);
        return;
    }
    const MeasureDialog& core = dialog_->core();
    MeteorImage& image = dialog_->image();
    Magnifier shown = core.magnifier();
    if (pending_) shown.Click(*pending_, image.width, image.height);
    // A frame that cannot be decoded draws nothing: the control is grey then.
    canvas.FillRect({0, 0, kControlSize, kControlSize}, kMagnifierGrey.red, kMagnifierGrey.green,
                    kMagnifierGrey.blue);
    RenderMagnifier(canvas, &image, shown, core.Markers());
}

void TMeasControl::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        EvLButtonDown({p.x(), p.y()});
    } else if (event->button() == Qt::RightButton) {
        EvRButtonDown();
    }
}

void TMeasControl::EvLButtonDown(ControlPoint p) {
    if (dialog_ == nullptr || !dialog_->HasCore()) return;
    dialog_->FocusMagnifierOnClick();
    const Magnifier& m = dialog_->core().magnifier();
    const MeteorImage& image = dialog_->image();
    // Clicks beside the image, and every click while the magnifier measures
    // nothing, are ignored.
    if (!m.enabled() || !ClickOnImage(m.origin(), p, image.width, image.height)) return;
    pending_ = p;
    repaint();
    TMeasureDialog* dialog = dialog_;
    QMetaObject::invokeMethod(dialog, [dialog, p] { dialog->WMPosition(p); }, Qt::QueuedConnection);
}

void TMeasControl::EvRButtonDown() {
    if (dialog_ == nullptr) return;
    TMeasureDialog* dialog = dialog_;
    QMetaObject::invokeMethod(dialog, [dialog] { dialog->EvRButtonDown(); }, Qt::QueuedConnection);
}

void TMeasControl::keyPressEvent(QKeyEvent* event) {
    std::optional<MagnifierKey> key;
    switch (event->key()) {
        case Qt::Key_Left: key = MagnifierKey::Left; break;
        case Qt::Key_Right: key = MagnifierKey::Right; break;
        case Qt::Key_Up: key = MagnifierKey::Up; break;
        case Qt::Key_Down: key = MagnifierKey::Down; break;
        case Qt::Key_Space: key = MagnifierKey::Space; break;
        default: break;
    }
    if (!key || dialog_ == nullptr) {
        QWidget::keyPressEvent(event);  // Enter, Escape and Tab belong to the dialog
        return;
    }
    const bool shift = (event->modifiers() & Qt::ShiftModifier) != 0;
    TMeasureDialog* dialog = dialog_;
    const MagnifierKey k = *key;
    QMetaObject::invokeMethod(dialog, [dialog, k, shift] { dialog->MagnifierKeyPressed(k, shift); },
                              Qt::QueuedConnection);
}

TLineControl::TLineControl(QWidget* parent, int x, int y, int w, int h) : QWidget(parent) {
    setGeometry(x, y, w, h);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TLineControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(Qt::black);
    // The end point is left out, as the stock pen draws lines.
    if (height() == 1) painter.drawLine(0, 0, width() - 2, 0);
    else if (width() == 1) painter.drawLine(0, 0, 0, height() - 2);
    else painter.drawLine(0, 0, width() - 1, height() - 1);
}
