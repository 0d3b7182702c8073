// File > Save session: the questions in their order, the file dialog with
// its overwrite question, the writing, and what the user is told after.
#include <cerrno>
#include <filesystem>

#include "files/log_file.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "shell/image_file_names.h"
#include "shell/main_commands.h"
#include "shell/save_failure.h"
#include "shell/shell_view.h"
#include "shell/state_flags.h"

namespace {

// Passes the writer's questions on and notes whether the user turned one
// down, which is a reason not to save rather than a failure.
class DeclineWatch : public MessageBoxService {
public:
    explicit DeclineWatch(MessageBoxService& inner) : inner_(inner) {}
    MbAnswer Show(const std::string& text, const std::string& caption, MbButtons buttons, MbIcon icon) override {
        const MbAnswer a = inner_.Show(text, caption, buttons, icon);
        if (a == MbAnswer::No || a == MbAnswer::Cancel) declined = true;
        return a;
    }
    bool declined = false;

private:
    MessageBoxService& inner_;
};

bool AnyLabel(const SessionData& s) {
    for (unsigned int i = 0; i < s.nmet; ++i) {
        if (s.meteors[i].label[0] != '\0') return true;
    }
    return false;
}

std::string FileNamePart(const std::string& path) { return path.substr(DirectoryPart(path).size()); }

}  // namespace

bool MainCommands::SaveSessionQuestions() {
    MessageBoxService& mb = s_.messages;
    if (session_->nmet > 0 && session_->surround < 100.0f &&
        mb.Show("Meteor not surrounded by reference stars.\nContinue saving?", "", MbButtons::OkCancel,
                MbIcon::None) != MbAnswer::Ok) {
        return false;
    }
    if (session_->nmet > 0 && !AnyLabel(*session_) &&
        mb.Show("Brightest point of meteor not specified.\nContinue saving?", "", MbButtons::OkCancel,
                MbIcon::None) != MbAnswer::Ok) {
        return false;
    }
    if (SessionData::dlgdat.status != 0) {
        const MbAnswer a = mb.Show("Exposure data not specified.\nDo it now?", "", MbButtons::YesNoCancel, MbIcon::None);
        if (a == MbAnswer::Cancel) return false;
        if (a == MbAnswer::Yes) WMExpData();
    }
    // A blank image cannot be measured again, so a replay is not offered
    // for it (the replay commands are disabled for it as well).
    const bool measurable = image_ && (image_->type & ImageType::Blank) == 0;
    if (session_->nreplay == 0 && measurable) {
        const MbAnswer a = mb.Show("Session not replayed. Do it now?", "", MbButtons::YesNoCancel, MbIcon::None);
        if (a == MbAnswer::Cancel) return false;
        if (a == MbAnswer::Yes) ReplayProcess(-1);
    }
    return true;
}

std::optional<std::string> MainCommands::AskSaveFile() {
    FileDialogRequest request;
    request.filters = {{"Text file with station name extension", ""}};
    request.directory = opt.outputdir;
    char name[13];
    request.file_name = session_->OutFilename(name);
    for (;;) {
        std::optional<std::string> path = s_.files.Save(request);
        if (!path) return std::nullopt;
        std::error_code ec;
        if (!std::filesystem::exists(*path, ec)) return path;
        if (s_.messages.Show("File already exists. Overwrite?", "Save session", MbButtons::YesNo, MbIcon::None) ==
            MbAnswer::Yes) {
            return path;
        }
        // The dialog comes back with the name just chosen.
        request.directory = DirectoryPart(*path);
        request.file_name = FileNamePart(*path);
    }
}

bool MainCommands::SaveTo(const std::string& path) {
    DeclineWatch watch(s_.messages);
    errno = 0;
    const int result = session_->Save(path.c_str(), paths_.program_dir.c_str(), watch);
    const int error = errno;
    if (result == 0) {
        if (!watch.declined) s_.messages.Show(SaveFailureText(error), "Save session", MbButtons::Ok, MbIcon::Stop);
        return false;
    }
    sf.changed = 0;
    recovery_.Remove();
    if (result == 2) {
        s_.messages.Show("Meteor has not been included in the log file because\n too few stars and/or meteor points "
                         "were measured",
                         "Save session", MbButtons::Ok, MbIcon::Exclamation);
    }
    if (result == 3) s_.messages.Show(LogFailureText(error), "Save session", MbButtons::Ok, MbIcon::Exclamation);
    RememberSessionFile(path);
    session_file_ = path;
    SetMenuState();
    return true;
}

bool MainCommands::WMSaveSession() {
    if (!SaveSessionQuestions()) return false;
    const std::optional<std::string> path = AskSaveFile();
    if (!path) return false;
    return SaveTo(*path);
}
