#pragma once
// Progress of a long load through the status strip, with the Escape poll.
// From the first report or poll until Clear(), an InputBlocker keeps every
// input but Escape from reaching the program; each poll lets the pending
// events run (repaints among them) and tells whether Escape was pressed.
#include <functional>
#include <memory>

#include "platform/progress.h"

class InputBlocker;

class QtProgress : public ProgressService {
public:
    // report draws the percentage (with "ESC to abort"); clear removes it.
    QtProgress(std::function<void(int percent)> report, std::function<void()> clear);
    ~QtProgress() override;

    void Report(int percent) override;
    bool EscapePressed() override;
    // Discards the input that arrived since the last poll, stops blocking,
    // and removes the display.
    void Clear() override;

    bool Blocking() const { return blocker_ != nullptr; }

private:
    void Begin();
    std::function<void(int)> report_;
    std::function<void()> clear_;
    std::unique_ptr<InputBlocker> blocker_;
};
