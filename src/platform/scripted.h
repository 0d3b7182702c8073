#pragma once
// Scripted stand-ins for the platform services, for tests and for the
// command-line tool: answers are queued in advance, Escape is "pressed" after
// a set number of polls, and everything asked for is recorded.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "platform/clipboard.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "platform/progress.h"
#include "platform/text_input.h"

class ScriptedMessageBox : public MessageBoxService {
public:
    struct Shown {
        std::string text;
        std::string caption;
        MbButtons buttons;
        MbIcon icon;
    };
    // Answers are taken in order; when none is queued, the box answers with
    // its default: No for Yes/No boxes, Cancel for OK/Cancel, OK for OK.
    std::deque<MbAnswer> answers;
    std::vector<Shown> shown;

    MbAnswer Show(const std::string& text, const std::string& caption, MbButtons buttons,
                  MbIcon icon) override;
};

class ScriptedFileDialog : public FileDialogService {
public:
    struct Asked {
        bool save;  // the save dialog; else the open dialog
        FileDialogRequest request;
    };
    // Chosen paths in order; nothing (or an empty queue) is Cancel. Open and
    // Save take from the same queue.
    std::deque<std::optional<std::string>> answers;
    std::vector<Asked> asked;

    std::optional<std::string> Open(const FileDialogRequest& request) override;
    std::optional<std::string> Save(const FileDialogRequest& request) override;

private:
    std::optional<std::string> Next(bool save, const FileDialogRequest& request);
};

class ScriptedTextInput : public TextInputService {
public:
    struct Answer {
        bool ok;           // OK; else Cancel
        std::string text;  // typed before OK (cut to the buffer like a real field)
    };
    struct Asked {
        std::string title;
        std::string prompt;
        std::string text;  // what the field held when the dialog opened
        int limit;
    };
    // Answers in order; with none queued the dialog is cancelled.
    std::deque<Answer> answers;
    std::vector<Asked> asked;

    bool Ask(const std::string& title, const std::string& prompt, std::string& text, int limit) override;
};

class ScriptedProgress : public ProgressService {
public:
    // Escape is reported at the poll with this number (1 = the first poll);
    // 0 never.
    int escape_at_poll = 0;
    int polls = 0;
    std::vector<int> reports;
    int clears = 0;

    void Report(int percent) override { reports.push_back(percent); }
    bool EscapePressed() override { return escape_at_poll > 0 && ++polls >= escape_at_poll; }
    void Clear() override { ++clears; }
};

class ScriptedClipboard : public ClipboardService {
public:
    std::optional<std::vector<std::uint8_t>> dib;
    std::optional<std::vector<std::uint8_t>> GetDib() override { return dib; }
};

// Records every drawing call.
class RecordingCanvas : public Canvas {
public:
    struct Call {
        enum Kind { Dib, Fill } kind;
        CanvasRect dst;
        CanvasRect src;  // Dib only
        std::uint8_t red = 0, green = 0, blue = 0;  // Fill only
    };
    std::vector<Call> calls;

    void DrawDib(const std::uint8_t*, std::size_t, CanvasRect dst, CanvasRect src) override {
        calls.push_back({Call::Dib, dst, src});
    }
    void FillRect(CanvasRect r, std::uint8_t red, std::uint8_t green, std::uint8_t blue) override {
        calls.push_back({Call::Fill, r, {}, red, green, blue});
    }
};
