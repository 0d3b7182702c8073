// Measure > Replay meteor and Replay stars + meteor: every recorded
// measurement is shown again, one dialog after another, and measured anew.
#include "shell/dialog_position.h"
#include "shell/main_commands.h"
#include "shell/measure_dialogs.h"
#include "shell/shell_view.h"
#include "shell/state_flags.h"

namespace {

constexpr int kStarsAndMeteor = -1;
constexpr int kBeepPauseMs = 600;

}  // namespace

void MainCommands::ReplayProcess(int selector) {
    if (!image_) return;
    SessionData& s = *session_;
    const int height = image_->height;
    const int saved_mode = sf.measmode;
    sf.measmode = kReplayMode;
    s_.view.RepaintStatus();

    // A BREAK in the first dialog shown ends the replay with nothing
    // counted, whichever record that dialog showed.
    bool any_shown = false;
    bool broken = false;
    bool counted = false;
    if (selector == kStarsAndMeteor) {
        for (unsigned int i = 0; i < s.nstar && !broken; ++i) {
            if (s.stars[i].hidden) continue;
            const ImagePixel p = DialogPosition(s.fxstr(i), s.fystr(i), height);
            if (s_.measure.RunStarReplay(p.column, p.row, static_cast<int>(i)) == DialogEnd::Break) {
                if (!any_shown) {
                    sf.measmode = saved_mode;
                    s_.view.RepaintStatus();
                    return;
                }
                broken = true;
            }
            any_shown = true;
        }
        counted = s.nstar > 0;
    }
    if (!broken) {
        if (selector == kStarsAndMeteor && s.nmet > 0) {
            s_.view.Beep();
            s_.view.Pause(kBeepPauseMs);
            s_.view.Beep();
        }
        for (unsigned int j = 0; j < s.nmet; ++j) {
            const ImagePixel p = DialogPosition(s.fxmet(j), s.fymet(j), height);
            if (s_.measure.RunMeteorReplay(p.column, p.row, static_cast<int>(j)) == DialogEnd::Break) {
                if (!any_shown) {
                    sf.measmode = saved_mode;
                    s_.view.RepaintStatus();
                    return;
                }
                break;
            }
            any_shown = true;
        }
        // The meteor loop counts once it showed a point: to its end, or to
        // a BREAK after the first dialog.
        if (s.nmet > 0) counted = true;
    }
    if (counted) {
        ++s.nreplay;
        Recompute("Replay");
        sf.changed = 1;
        sf.recalc = 1;
        SetMenuState();
        s_.view.RepaintDisplay(false);
        s_.view.RepaintStatus();
    }
    sf.measmode = saved_mode;
    s_.view.RepaintStatus();
}
