#pragma once
// The settings file velkarn.ini: read once when the main window is built, rewritten completely when it closes. One setting per
// line, "Key=value"; a line is found by its key alone, case-sensitively, at
// the very start of the line. Only the first 19 lines are looked at. Missing
// or unreadable settings silently take their defaults.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/options.h"

// A window's outer rectangle, screen pixels.
struct WindowPlacement {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Where the file is and what the defaults are made of. On Windows all three
// directories were the program directory; installed on Linux they differ
// (shell/program_paths.h). An empty directory stands for exe_dir.
struct SettingsEnvironment {
    std::filesystem::path exe_dir;   // the program directory
    std::filesystem::path home_dir;  // the user's home directory: the default image and session directory
    int screen_width = 0;            // pixels; the default window covers the screen
    int screen_height = 0;
    std::filesystem::path settings_dir{};  // holds velkarn.ini
    std::filesystem::path data_dir{};      // the default SkycatDir: the shipped catalogue
    std::filesystem::path program_dir{};   // the writable program directory: the default station list

    const std::filesystem::path& SettingsDir() const { return settings_dir.empty() ? exe_dir : settings_dir; }
    const std::filesystem::path& DataDir() const { return data_dir.empty() ? exe_dir : data_dir; }
    const std::filesystem::path& ProgramDir() const { return program_dir.empty() ? exe_dir : program_dir; }
};

// The values the main window keeps from the start for use at the close.
struct StartSettings {
    char IniImage[260] = "";      // Image as read, or its default
    char IniOutputDir[260] = "";  // OutputDir as read, or its default
    WindowPlacement window;       // initial position and size
    // One message for every path setting that was too long to be held
    // (kMaxOptionPath) and was replaced by its default; shown at start.
    std::vector<std::string> warnings;
};

inline constexpr int kIniLinesRead = 19;

// velkarn.ini in a directory, and where the environment keeps it.
std::filesystem::path SettingsPath(const std::filesystem::path& dir);
std::filesystem::path SettingsPath(const SettingsEnvironment& env);

// The value of the first of the lines that begins with key: the text behind
// that line's first "=". Nothing when no line begins with key, or the first
// that does holds no "=".
std::optional<std::string> GetIniLine(std::string_view key, const std::vector<std::string>& lines);

// Reads velkarn.ini into options (every field is set) and returns what the
// main window keeps. A path setting longer than its field holds is never
// cut: the default takes its place (an empty field when the default is too
// long as well) and a warning says so.
StartSettings GetIniValues(const SettingsEnvironment& env, Options& options);

// Replaces velkarn.ini with the options. normal is the window's last normal
// (neither minimised nor maximised) rectangle; a maximised window is stored
// as covering the screen. An image or output directory that begins with a
// lower-case "a" or "b" (a removable drive) is stored as it was read at start.
// False, with the old file untouched, when the file cannot be written (the
// settings directory must exist: the start makes it, CreateWritableDirs in
// shell/program_paths.h).
bool WriteIniValues(const SettingsEnvironment& env, const Options& options, const StartSettings& start,
                    const WindowPlacement& normal, bool maximised);
