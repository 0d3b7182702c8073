#pragma once
// TReplayDialog, the dialog of one item of a replay or of Open template
// ("Star replay", "Meteor replay", "Star from template"): the item is
// clicked in the magnifier and the difference from where it was expected is
// shown (control 196). OK stores the measurement, CANCEL skips the item and
// BREAK (control 195) ends the series at once, storing nothing: exec() then
// returns kBreakResult. The decisions are the core's (measure/replay_dialogs.h).
#include <memory>

#include "measure/replay_dialogs.h"
#include "ui/measure/measure_dialog_window.h"

class QLabel;

class TReplayDialog : public TMeasureDialog {
    Q_OBJECT
public:
    // core: a StarReplay, MeteorReplay or StarTemplate over image.
    TReplayDialog(QWidget* parent, MeteorImage& image, MessageBoxService& messages,
                  std::unique_ptr<ReplayDialog> core);

    ReplayDialog& replay() const { return static_cast<ReplayDialog&>(core()); }

    void WMBreak();  // control 195

protected:
    void SyncControls() override;

private:
    QLabel* difference_ = nullptr;
};
