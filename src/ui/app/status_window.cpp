#include "ui/app/status_window.h"

#include <QPainter>
#include <QPushButton>

#include "session/session_data.h"
#include "shell/command_ids.h"
#include "shell/main_commands.h"
#include "shell/pane_layout.h"
#include "shell/state_flags.h"
#include "shell/status_text.h"
#include "ui/app/main_window.h"

namespace {
QColor ToQColor(Rgb c) { return QColor(c.red, c.green, c.blue); }

QPushButton* MakeButton(const char* text, int id, QWidget* parent) {
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    button->setProperty("controlId", id);
    button->setObjectName(QStringLiteral("control%1").arg(id));
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoDefault(false);
    button->resize(kStatusButtonWidth, kStatusButtonHeight);
    button->hide();
    return button;
}
}  // namespace

TStatusWindow::TStatusWindow(TMainWindow& main, QWidget* parent)
    : QWidget(parent),
      main_(main),
      plus_(MakeButton("+", ctl::StatusPlus, this)),
      minus_(MakeButton("-", ctl::StatusMinus, this)) {
    setFocusPolicy(Qt::ClickFocus);
    connect(plus_, &QPushButton::clicked, this, &TStatusWindow::WMBPlus);
    connect(minus_, &QPushButton::clicked, this, &TStatusWindow::WMBMin);
}

void TStatusWindow::ShowButtons(bool show) {
    plus_->setVisible(show);
    minus_->setVisible(show);
}

void TStatusWindow::PlaceButtons(const CanvasRect& plus, const CanvasRect& minus) {
    plus_->setGeometry(plus.x, plus.y, plus.w, plus.h);
    minus_->setGeometry(minus.x, minus.y, minus.w, minus.h);
}

void TStatusWindow::WMBPlus() {
    if (main_.commands().PlusOrder()) OrderChanged();
}

void TStatusWindow::WMBMin() {
    if (main_.commands().MinOrder()) OrderChanged();
}

void TStatusWindow::OrderChanged() {
    // The focus leaves the button, so that Enter or Space cannot press it
    // again unseen.
    setFocus();
    update();
}

void TStatusWindow::Progress(int percent) {
    progress_ = percent;
    repaint();
}

void TStatusWindow::EndProgress() {
    progress_ = -1;
    update();
}

void TStatusWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int w = width();
    if (sf.imgloaded && Session) {
        p.fillRect(rect(), ToQColor(kStatusBackground));
        p.setPen(Qt::black);
        p.drawLine(0, 0, w, 0);
        const QFontMetrics fm = fontMetrics();
        for (const StatusItem& item : StatusItems(*Session, true, sf.measmode, w)) {
            p.setPen(ToQColor(item.highlighted ? kStatusHighlight : kStatusText));
            p.drawText(item.x, item.y + fm.ascent(), QString::fromStdString(item.text));
        }
    }
    if (progress_ >= 0) {
        const ProgressPaint bar = ProgressLayout(w, progress_);
        p.setPen(Qt::black);
        p.setBrush(ToQColor(kStatusBackground));
        if (bar.bar_right > 0) p.drawRect(0, 0, bar.bar_right - 1, height() - 1);
        const QString text = QString::fromStdString(bar.text);
        const QFontMetrics fm = fontMetrics();
        p.drawText(bar.text_right - fm.horizontalAdvance(text), bar.text_y + fm.ascent(), text);
    }
}
