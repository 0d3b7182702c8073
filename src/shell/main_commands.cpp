#include "shell/main_commands.h"

#include <cstring>

#include "astro/numerical_error.h"
#include "platform/clipboard.h"
#include "platform/message_box.h"
#include "session/fixed_text.h"
#include "shell/command_ids.h"
#include "shell/menu_state.h"
#include "shell/shell_view.h"
#include "shell/state_flags.h"

MainCommands::MainCommands(ShellServices services, ProgramPaths paths, SettingsEnvironment env)
    : s_(services),
      paths_(std::move(paths)),
      env_(std::move(env)),
      recovery_(paths_.state_dir.empty() ? std::filesystem::path() : RecoveryCopyPath(paths_.state_dir)) {
    start_ = GetIniValues(env_, opt);
    // Every command stays enabled until the first computation of the
    // enable state.
    sf = StateFlags{};
    Mimg = nullptr;
    SelectedStar::iselect = -1;
    NewEmptySession();
}

MainCommands::~MainCommands() {
    if (Session == session_.get()) Session = nullptr;
    if (Mimg == image_.get()) Mimg = nullptr;
}

void MainCommands::SetupWindow() {
    JoinClipboardWatch();
    SetMenuState();
    // Path settings too long to be held were replaced by their defaults.
    for (const std::string& w : start_.warnings) s_.messages.Show(w, "Settings", MbButtons::Ok, MbIcon::Exclamation);
}

void MainCommands::NewEmptySession() {
    // The old session goes before the new one is made: the constructor
    // resets the shared exposure record.
    Session = nullptr;
    session_.reset();
    session_ = std::make_unique<SessionData>();
    Session = session_.get();
    copy_text(SessionData::dlgdat.station, std::string_view(opt.station, strnlen(opt.station, sizeof opt.station)));
    session_file_.clear();
    ResetHistory(true);
}

void MainCommands::ResetHistory(bool saved) { history_.Reset(*session_, SessionData::dlgdat, saved); }

void MainCommands::SetMenuState() {
    const SessionData& s = *session_;
    MenuInputs in;
    in.imgloaded = sf.imgloaded != 0;
    in.image_type = image_ ? image_->type : 0;
    in.iselect = SelectedStar::iselect;
    in.selected_hidden = in.iselect >= 0 && static_cast<unsigned int>(in.iselect) < s.nstar &&
                         s.stars[in.iselect].hidden != 0;
    in.nstar = s.nstar;
    in.nmet = s.nmet;
    in.changed = sf.changed != 0;
    in.analysis = sf.analysis != 0;
    in.clip_avail = ClipAvail != 0;
    in.has_picture = image_ && image_->HasPicture();
    sf.menumask = ComputeMenuMask(in);
    for (int n = 1; n <= cmd::LastMasked; ++n) cmd_enabled_[n - 1] = (sf.menumask & (1u << n)) != 0;
    // A command that changed the session becomes a step of the history;
    // without unsaved changes the session is the one on disk.
    history_.Record(s, SessionData::dlgdat);
    if (!sf.changed) history_.MarkSaved();
    extra_ = ExtraMenuInputs{in.imgloaded, history_.CanUndo(), history_.CanRedo(), s.Visible()};
    s_.view.MenuStateChanged();
    UpdateRecoveryCopy();
}

bool MainCommands::Enabled(int id) const {
    if (IsExtraCommand(id)) return ExtraCommandEnabled(extra_, id);
    if (id < 1 || id > cmd::LastMasked) return true;
    return cmd_enabled_[id - 1];
}

void MainCommands::ExamineClipboard() {
    if (sf.imgloaded) return;
    ClipAvail = s_.clipboard.GetDib().has_value() ? 1 : 0;
    SetMenuState();
}

void MainCommands::JoinClipboardWatch() {
    sf.inchain = 1;
    s_.view.WatchClipboard(true);
    ExamineClipboard();
}

void MainCommands::LeaveClipboardWatch() {
    sf.inchain = 0;
    s_.view.WatchClipboard(false);
    ClipAvail = 0;
    SetMenuState();
}

void MainCommands::ShowNumericalError(const std::exception& e, const char* caption) {
    s_.messages.Show(e.what(), caption, MbButtons::Ok, MbIcon::Exclamation);
}

bool MainCommands::CalculateOC(const char* caption) {
    try {
        session_->CalculateOC();
        return true;
    } catch (const NumericalError& e) {
        ShowNumericalError(e, caption);
        return false;
    }
}

void MainCommands::Recompute(const char* caption) {
    session_->surround = session_->Getsurround(-1);
    CalculateOC(caption);
}
