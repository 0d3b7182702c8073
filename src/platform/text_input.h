#pragma once
// The desktop's standard text-input dialog: a title, a prompt, one edit
// field over a buffer of `limit` bytes (so at most limit - 1 characters),
// OK and Cancel.
#include <string>

class TextInputService {
public:
    virtual ~TextInputService() = default;
    // text holds the initial text; OK stores the typed text in it (cut to
    // limit - 1 characters) and returns true; Cancel leaves it and returns
    // false.
    virtual bool Ask(const std::string& title, const std::string& prompt, std::string& text, int limit) = 0;
};
