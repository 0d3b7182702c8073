#pragma once
// TStatusWindow, the strip along the bottom of the main window: the counts
// of the session, the order with its "+" and "-" buttons, the standard
// deviation and the surround, the count of the current measuring mode in
// blue; during a long load a progress bar with "ESC to abort". What it shows
// comes from status_text; the strip only draws it.
#include <QWidget>

#include "platform/canvas.h"

class QPushButton;
class TMainWindow;

class TStatusWindow : public QWidget {
    Q_OBJECT
public:
    TStatusWindow(TMainWindow& main, QWidget* parent);

    // Draws the progress bar at once, over whatever the strip shows.
    void Progress(int percent);
    // The load ended: the strip shows its normal contents again.
    void EndProgress();

    void ShowButtons(bool show);
    // Places the buttons (strip coordinates), without redrawing.
    void PlaceButtons(const CanvasRect& plus, const CanvasRect& minus);
    QPushButton* PlusButton() const { return plus_; }
    QPushButton* MinusButton() const { return minus_; }
    // The percentage of the progress bar shown, -1 for none.
    int ProgressShown() const { return progress_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void WMBPlus();
    void WMBMin();
    void OrderChanged();

    TMainWindow& main_;
    QPushButton* plus_;
    QPushButton* minus_;
    int progress_ = -1;
};
