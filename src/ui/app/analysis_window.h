#pragma once
// TAnalysisWindow, the residual table: a row for every reference star with
// its catalogue data, measured position and residuals, and the standard
// deviation and surround the reduction would have with that star's hidden
// state reversed. It recomputes before drawing when sf.recalc is set, keeps
// the row texts between paints, scrolls when the rows do not fit, and offers
// hide, unhide, delete and the switch back to the image view on the right
// button. The texts, tab stops and scroll arithmetic come from
// analysis_table; every change of the session goes to MainCommands.
#include <QWidget>

#include "shell/analysis_table.h"

class QScrollBar;
class TMainWindow;

class TAnalysisWindow : public QWidget {
    Q_OBJECT
public:
    TAnalysisWindow(TMainWindow& main, QWidget* parent);

    QScrollBar* ScrollBar() const { return scroll_bar_; }
    int LineHeight() const { return line_height_; }
    const AnalysisScroll& Scroll() const { return scroll_; }
    const AnalysisTable& Table() const { return table_; }
    // The context menu while it is open (for tests), else nullptr.
    QMenu* OpenContextMenu() const { return context_menu_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void UpdateScrollBar();
    void HandleScroller();
    void EvRButtonDown(QPoint p);

    TMainWindow& main_;
    QScrollBar* scroll_bar_;
    int line_height_;
    int scroll_width_;
    AnalysisTable table_;
    AnalysisScroll scroll_;
    QMenu* context_menu_ = nullptr;
};
