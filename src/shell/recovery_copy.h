#pragma once
// The recovery copy on disk: <state directory>/recovery.session, written
// whenever the text of unsaved work changes, removed when the work is saved
// or given up, and moved aside, never deleted, when it cannot be read.
//
// The copy is renamed into place whole, so a crash of the program at any
// instant leaves the previous copy or the new one. It is not synced to the
// disk: that costs many milliseconds after every click, and after a crash
// of the machine a lost or empty copy is only moved aside.
#include <ctime>
#include <filesystem>
#include <string>

// <state_dir>/recovery.session.
std::filesystem::path RecoveryCopyPath(const std::filesystem::path& state_dir);

// The name an unreadable copy is kept under, beside it:
// "recovery.session.unreadable-YYYYMMDD-HHMMSS" (local time of when), with
// "-2", "-3", ... after it for the attempt-th try (attempt 1: none).
std::filesystem::path UnreadableCopyName(const std::filesystem::path& copy, std::time_t when, int attempt = 1);

class RecoveryCopy {
public:
    // file empty: no copy is kept and every call does nothing.
    explicit RecoveryCopy(std::filesystem::path file);

    bool enabled() const { return !file_.empty(); }
    const std::filesystem::path& file() const { return file_; }

    // Writes text as the copy unless it is what the last write put there.
    // False when the copy could not be written (the previous one stays).
    bool Keep(const std::string& text);
    // Removes the copy.
    void Remove();

    // Reads the copy: false when there is none; text empty and false as
    // well when it cannot be opened.
    bool Exists() const;
    bool Read(std::string& text) const;

    // Renames the copy to UnreadableCopyName, never over another file. The
    // new name, or empty when the copy could not be moved.
    std::filesystem::path KeepAside(std::time_t now);

private:
    std::filesystem::path file_;
    std::string written_;
    bool written_valid_ = false;
};
