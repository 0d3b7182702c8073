// Edit > Undo and Redo: the session steps back and forth through the states
// the commands left it in.
#include "shell/main_commands.h"
#include "shell/shell_view.h"
#include "shell/state_flags.h"

void MainCommands::WMEditUndo() {
    if (history_.CanUndo()) RestoreState(history_.Undo());
}

void MainCommands::WMEditRedo() {
    if (history_.CanRedo()) RestoreState(history_.Redo());
}

void MainCommands::RestoreState(const SessionState& state) {
    // In place: the measuring dialogs and views reach the session through
    // Session, which stays what it was.
    *session_ = state.session;
    SessionData::dlgdat = state.exposure;
    // A selection may name a measurement the state does not have.
    SelectedStar::iselect = -1;
    sf.changed = history_.AtSaved() ? 0 : 1;
    sf.recalc = 1;
    // Back at the state on disk nothing is left to recover; otherwise
    // SetMenuState writes the copy of the state restored.
    if (!sf.changed) recovery_.Remove();
    SetMenuState();
    s_.view.RepaintDisplay(false);
    s_.view.RepaintStatus();
    s_.view.RepaintAnalysis();
}
