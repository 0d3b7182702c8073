#pragma once
#include <string>

// A modal message box: text, caption, buttons and icon in, the answer out.
enum class MbButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MbIcon { None, Information, Question, Exclamation, Stop };
enum class MbAnswer { Ok, Cancel, Yes, No };

class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    virtual MbAnswer Show(const std::string& text, const std::string& caption, MbButtons buttons,
                          MbIcon icon) = 0;
};
