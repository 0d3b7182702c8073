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
