#include "ui/app/analysis_window.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <memory>
#include <optional>

#include "astro/numerical_error.h"
#include "session/session_data.h"
#include "shell/command_ids.h"
#include "shell/main_commands.h"
#include "shell/popup_placement.h"
#include "shell/state_flags.h"
#include "ui/app/main_window.h"
#include "ui/platform/wait_cursor.h"
#include "ui/resources/resource_builder.h"

TAnalysisWindow::TAnalysisWindow(TMainWindow& main, QWidget* parent)
    : QWidget(parent),
      main_(main),
      scroll_bar_(new QScrollBar(Qt::Vertical, this)),
      line_height_(fontMetrics().height() + fontMetrics().leading()),
      scroll_width_(style()->pixelMetric(QStyle::PM_ScrollBarExtent)) {
    setAutoFillBackground(true);
    setPalette(QPalette(QColor(255, 255, 255)));
    scroll_bar_->setProperty("controlId", ctl::AnalysisScroll);
    scroll_bar_->setObjectName(QStringLiteral("control%1").arg(ctl::AnalysisScroll));
    scroll_bar_->setGeometry(0, 0, 0, 0);
    scroll_bar_->setSingleStep(1);
    scroll_bar_->setPageStep(kAnalysisPageRows);
    connect(scroll_bar_, &QScrollBar::valueChanged, this, &TAnalysisWindow::HandleScroller);
}

void TAnalysisWindow::resizeEvent(QResizeEvent*) { UpdateScrollBar(); }

void TAnalysisWindow::UpdateScrollBar() {
    const int nstar = Session ? static_cast<int>(Session->nstar) : 0;
    scroll_ = ::UpdateScrollBar(width(), height(), line_height_, scroll_width_, nstar, scroll_bar_->value());
    const CanvasRect& b = scroll_.bar;
    const QSignalBlocker quiet(scroll_bar_);
    scroll_bar_->setGeometry(b.x, b.y, b.w, b.h);
    scroll_bar_->setVisible(scroll_.shown);
    scroll_bar_->setRange(0, scroll_.range_max);
    scroll_bar_->setValue(scroll_.position);
}

void TAnalysisWindow::HandleScroller() {
    update();
    setFocus();
}

void TAnalysisWindow::paintEvent(QPaintEvent*) {
    if (!Session) return;
    UpdateScrollBar();
    const AnalysisTabs tabs = AnalysisTabStops(width(), scroll_width_, scroll_.shown);
    const bool recalc = sf.recalc != 0;
    if (recalc) {
        const WaitCursor wait;
        try {
            table_ = RebuildAnalysisTable(*Session);
        } catch (const NumericalError&) {
            // A star set without a plate solution: the table stays as it
            // was; the commands report the fault where it arose.
        }
        // The reduction may have moved the plate centre and origin.
        main_.commands().UpdateRecoveryCopy(false);
    }
    QPainter p(this);
    p.setClipRect(0, 0, tabs.clip_width, height());
    const QFontMetrics fm = fontMetrics();
    const QColor text = palette().color(QPalette::WindowText);
    const QColor grey = palette().color(QPalette::Disabled, QPalette::WindowText);
    for (const AnalysisText& item : AnalysisPaintItems(table_, *Session, scroll_, tabs, line_height_,
                                                        SelectedStar::iselect)) {
        const QString s = QString::fromStdString(item.text);
        const int w = fm.horizontalAdvance(s);
        const QRect cell(item.x - w, item.y, w, line_height_);
        switch (item.ink) {
            case AnalysisInk::Normal: p.setPen(text); break;
            case AnalysisInk::Hidden: p.setPen(grey); break;
            case AnalysisInk::Selected:
                p.fillRect(cell, QColor(kAnalysisSelectedBackground.red, kAnalysisSelectedBackground.green,
                                        kAnalysisSelectedBackground.blue));
                p.setPen(QColor(kAnalysisSelectedText.red, kAnalysisSelectedText.green, kAnalysisSelectedText.blue));
                break;
        }
        p.drawText(item.x - w, item.y + fm.ascent(), s);
    }
    if (recalc) {
        main_.RepaintStatus();
        sf.recalc = 0;
    }
}

void TAnalysisWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) EvRButtonDown(event->position().toPoint());
}

void TAnalysisWindow::EvRButtonDown(QPoint p) {
    if (!Session) return;
    UpdateScrollBar();
    const AnalysisContext c = ChooseAnalysisContext(*Session, p.y(), line_height_, scroll_);
    SelectedStar::iselect = c.iselect;
    if (c.iselect >= 0) main_.commands().SetMenuState();
    update();

    std::unique_ptr<QMenu> menu(BuildPopupMenu(*FindMenuResource("POPUP_MENUS"), static_cast<int>(c.menu), this));
    if (!menu) return;
    const PopupPlacement place = PlacePopup(p.x(), p.y(), width());
    QPoint at = mapToGlobal(QPoint(place.anchor.x, place.anchor.y));
    if (place.right_aligned) at.rx() -= menu->sizeHint().width();
    context_menu_ = menu.get();
    QAction* chosen = menu->exec(at);
    context_menu_ = nullptr;
    const int id = chosen ? CommandOf(chosen) : 0;
    menu.reset();
    if (id != 0) main_.Command(id);
}
