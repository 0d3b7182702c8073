#pragma once
// TMeteorDialog, "Meteor measurement": the points of a meteor trail, one
// after another, each clicked in the magnifier and taken with ACCEPT (also
// Enter and a right click anywhere in the dialog). On a video the frame bar
// (control 192) chooses the frame and visits the frames of earlier points,
// whose "Maximum" label the check box (197) sets or clears. The decisions
// are the core's MeteorDialog (measure/meteor_dialog.h); this window shows
// its frame bar, check box and read-out after every event.
#include <functional>

#include "measure/meteor_dialog.h"
#include "ui/measure/measure_dialog_window.h"

class QCheckBox;
class QLabel;
class QScrollBar;

class TMeteorDialog : public TMeasureDialog {
    Q_OBJECT
public:
    // point_stored: repaints the image view so that a stored point shows
    // there at once.
    TMeteorDialog(QWidget* parent, SessionData& session, MeteorImage& image, int column, int row,
                  MessageBoxService& messages, std::function<void()> point_stored = {});

    MeteorDialog& meteor() const { return static_cast<MeteorDialog&>(core()); }

    void WMMeteorAccept();           // control 191
    void WMMeteorFrame(int position);  // any notification of control 192
    void WMMaximum(bool checked);    // control 197
    void WMMeasOk();                 // control 176
    void EvRButtonDown() override { WMMeteorAccept(); }

protected:
    void SyncControls() override;

private:
    std::function<void()> point_stored_;
    QScrollBar* bar_ = nullptr;
    QCheckBox* maximum_ = nullptr;
    QLabel* values_ = nullptr;
    QLabel* captions_ = nullptr;
};
