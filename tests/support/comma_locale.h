#pragma once
// A locale with a decimal comma, as a desktop program gets one from the
// environment (LC_NUMERIC=de_DE.UTF-8). When the machine has none, one is
// built once with localedef from the locales package's sources into a
// directory under the system's temporary directory, and found through
// LOCPATH.

#include <string>

namespace testing_support {

// The comma locale for one scope (the whole process switched with
// setlocale LC_ALL; inactive when none can be had); the locale before comes back at its end.
class CommaLocale {
public:
    CommaLocale();
    ~CommaLocale();
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;
    bool active() const { return active_; }

private:
    std::string previous_;
    bool active_ = false;
};

}  // namespace testing_support
