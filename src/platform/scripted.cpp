#include "platform/scripted.h"

MbAnswer ScriptedMessageBox::Show(const std::string& text, const std::string& caption,
                                  MbButtons buttons, MbIcon icon) {
    shown.push_back({text, caption, buttons, icon});
    if (!answers.empty()) {
        const MbAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    switch (buttons) {
        case MbButtons::YesNo:
        case MbButtons::YesNoCancel: return MbAnswer::No;
        case MbButtons::OkCancel: return MbAnswer::Cancel;
        case MbButtons::Ok: break;
    }
    return MbAnswer::Ok;
}

std::optional<std::string> ScriptedFileDialog::Next(bool save, const FileDialogRequest& request) {
    asked.push_back({save, request});
    if (answers.empty()) return std::nullopt;
    std::optional<std::string> a = answers.front();
    answers.pop_front();
    return a;
}

std::optional<std::string> ScriptedFileDialog::Open(const FileDialogRequest& request) { return Next(false, request); }

std::optional<std::string> ScriptedFileDialog::Save(const FileDialogRequest& request) { return Next(true, request); }

bool ScriptedTextInput::Ask(const std::string& title, const std::string& prompt, std::string& text, int limit) {
    asked.push_back({title, prompt, text, limit});
    if (answers.empty()) return false;
    const Answer a = answers.front();
    answers.pop_front();
    if (!a.ok) return false;
    text = a.text;
    if (limit > 0 && text.size() > static_cast<std::size_t>(limit - 1)) text.resize(limit - 1);
    return true;
}
