#pragma once
// TMeasControl, the 4x magnifier of every measuring dialog (control 198 at
// the dialog's top-left corner, 320 x 320 pixels), and TLineControl, the
// separator lines of the star dialog.
//
// The magnifier paints what the core renders (measure/magnifier_render.h)
// and turns the observer's input into calls on its dialog. A left click
// that falls on the image draws its cross at once and reaches the dialog as
// a queued call, after the control has finished with the click; a right
// click reaches it the same way and acts as the dialog's OK (the meteor
// dialog: ACCEPT). While the magnifier has the keyboard focus the arrow keys
// move the measuring cross by a quarter pixel (with Shift by a whole pixel)
// and Space takes the cross's position as a click there would.
#include <QWidget>
#include <optional>

#include "measure/magnifier.h"

class TMeasureDialog;

// The magnifier's id in the dialog templates.
inline constexpr int kMagnifierId = 198;

class TMeasControl : public QWidget {
    Q_OBJECT
public:
    explicit TMeasControl(QWidget* parent);

    // The dialog whose core the control shows and to which it reports.
    void Attach(TMeasureDialog* dialog) { dialog_ = dialog; }
    // The dialog has taken the click the control reported.
    void ClickTaken() { pending_.reset(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void EvLButtonDown(ControlPoint p);
    void EvRButtonDown();

    TMeasureDialog* dialog_ = nullptr;
    // A click drawn but not yet taken by the dialog.
    std::optional<ControlPoint> pending_;
};

// One black line from the control's top-left pixel to its bottom-right
// pixel: a control one pixel high is a horizontal line, one pixel wide a
// vertical line.
class TLineControl : public QWidget {
    Q_OBJECT
public:
    TLineControl(QWidget* parent, int x, int y, int w, int h);

protected:
    void paintEvent(QPaintEvent* event) override;
};
