#pragma once
// TMeasureDialog, what the star, meteor, replay and template dialogs share
// on the screen: the dialog built from its template with the magnifier
// (TMeasControl, control 198) at its top-left corner, opened over the main
// window, forwarding the observer's clicks, keys and buttons to the core
// dialog (measure/measure_dialog.h) and showing its state after each.
//
// A NumericalError that reaches the dialog (a star set that cannot be
// fitted, a year 0) is shown in a message box with its text; the dialog
// stays open and usable. The dialog ends when the core says it is
// finished: exec() returns QDialog::Accepted for OK, QDialog::Rejected for
// CANCEL and kBreakResult for BREAK.
#include <functional>
#include <memory>
#include <string_view>

#include "measure/measure_dialog.h"
#include "ui/resources/resource_builder.h"

class MessageBoxService;
class MeteorImage;
class TMeasControl;

inline constexpr int kBreakResult = 195;

// What exec() returned, as the main window's loops read it.
DialogEnd DialogEndOf(int exec_result);

class TMeasureDialog : public ResourceDialog {
    Q_OBJECT
public:
    ~TMeasureDialog() override;

    bool HasCore() const { return core_ != nullptr; }
    MeasureDialog& core() const { return *core_; }
    MeteorImage& image() const { return image_; }
    TMeasControl* MagnifierControl() const { return control_; }

    // --- From the magnifier, queued after its own handling ---
    // A click measured at control pixel p (WMPosition of the position
    // message).
    virtual void WMPosition(ControlPoint p);
    // A refining key pressed in the magnifier.
    void MagnifierKeyPressed(MagnifierKey key, bool shift);
    // A right click in the dialog or its magnifier: OK, unless the dialog
    // says otherwise.
    virtual void EvRButtonDown();
    // A left click in the magnifier: it takes the keyboard focus unless the
    // observer is typing in a text field.
    void FocusMagnifierOnClick();

    void accept() override;  // OK (control 1)
    void reject() override;  // CANCEL, Escape, the window's close button

protected:
    TMeasureDialog(std::string_view resource, QWidget* parent, MeteorImage& image, MessageBoxService& messages);

    // Takes the core; a concrete dialog calls it in its constructor. With
    // Options > "Snap clicks to star centre" on, a dialog that measures a
    // star grows a line below its template saying what became of each click.
    void SetCore(std::unique_ptr<MeasureDialog> core);
    // Moves the dialog over the main window (placement rule of the core).
    void SetupWindow();
    // Runs one event of the core. A NumericalError is shown under the
    // dialog's title; then the controls follow the core, the magnifier is
    // repainted, and a finished core ends the dialog.
    void Run(const std::function<void()>& event);
    // Shows the core's state in the dialog's own controls.
    virtual void SyncControls() {}
    void ShowSnapNote();

    void mousePressEvent(QMouseEvent* event) override;

    MessageBoxService& messages_;

private:
    std::unique_ptr<MeasureDialog> core_;
    MeteorImage& image_;
    TMeasControl* control_ = nullptr;
    class QLabel* snap_note_ = nullptr;
    bool ending_ = false;
};
