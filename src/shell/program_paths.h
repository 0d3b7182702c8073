#pragma once
// Where the program finds its shipped data and keeps the files it writes.
//
// Installed, the executable's directory is read-only: the shipped data (the
// catalogue skycat.dat with skycat.pol, the Flamsteed index velkarn.ndx and
// the manual) is found beside the executable or in an installed data
// directory (<prefix>/share/velkarn), and the files the program writes go
// to the user's directories: velkarn.ini to the config location
// (~/.config/velkarn), the log files photoYY.log and videoYY.log and the
// station list to the app-data location (~/.local/share/velkarn), and the
// recovery copy of an unsaved session to the state location
// (~/.local/state/velkarn).
//
// A portable set-up, where a writable velkarn.ini already stands beside the
// executable, keeps everything beside the executable, as the program always
// did on Windows.
#include <filesystem>
#include <functional>
#include <string>
#include <system_error>
#include <vector>

#include "catalogue/sky_cat.h"
#include "files/settings_file.h"

struct Options;

struct ProgramPaths {
    std::filesystem::path exe_dir;       // the executable's directory
    std::filesystem::path data_dir;      // read-only shipped data: catalogue, index, manual
    std::filesystem::path settings_dir;  // velkarn.ini
    std::filesystem::path program_dir;   // logs and station list: the writable program directory
    std::filesystem::path manual_dir{};  // the HTML manual (index.html)
    // The recovery copy of unsaved work; empty: no copy is kept.
    std::filesystem::path state_dir{};
};

// What the start-up knows of the machine.
struct ProgramLocations {
    std::filesystem::path exe_dir;
    // Installed data directories to look in, most preferred first (for
    // example <prefix>/share/velkarn beside the executable's bin directory,
    // then each XDG data directory + "velkarn").
    std::vector<std::filesystem::path> data_dirs;
    std::filesystem::path config_dir;    // the user's config location for the program
    std::filesystem::path app_data_dir;  // the user's app-data location for the program
    std::filesystem::path state_dir;     // the user's state location for the program
};

// The questions ResolveProgramPaths asks of the file system; tests answer
// them from a list.
struct PathProbes {
    // The directory holds the shipped catalogue (skycat.dat).
    std::function<bool(const std::filesystem::path& dir)> holds_catalogue;
    // The directory holds the Flamsteed index (velkarn.ndx).
    std::function<bool(const std::filesystem::path& dir)> holds_index;
    // The directory holds the manual (index.html).
    std::function<bool(const std::filesystem::path& dir)> holds_manual;
    // The file exists and this user may write it.
    std::function<bool(const std::filesystem::path& file)> writable_file;
};
// The probes over the real file system.
PathProbes FileSystemProbes();

// The directories of a start:
// - portable (a writable velkarn.ini beside the executable): settings and
//   written files beside the executable;
// - otherwise the settings in config_dir and the written files in
//   app_data_dir, the recovery copy in state_dir (each the executable's
//   directory when not given);
// - the data directory is the executable's directory when it holds the
//   catalogue (a portable copy or the build tree), else the first of
//   data_dirs that does, else the executable's directory (where a search
//   then reports the catalogue missing);
// - the manual is <dir>/manual or <dir>/docs/manual, dir the executable's
//   directory, then the data directories; else data_dir/manual.
ProgramPaths ResolveProgramPaths(const ProgramLocations& where, const PathProbes& probes);

// The locations of this machine as the XDG base directories give them
// (XDG_CONFIG_HOME or ~/.config, XDG_DATA_HOME or ~/.local/share,
// XDG_STATE_HOME or ~/.local/state, XDG_DATA_DIRS or
// /usr/local/share:/usr/share, each + "velkarn"), with
// <exe_dir>/../share/velkarn first among the data directories. These are
// the places QStandardPaths names for an application "velkarn" without an
// organisation, so the command-line tool and the desktop program agree.
// env reads an environment variable (nullptr: not set).
ProgramLocations StandardLocations(const std::filesystem::path& exe_dir,
                                   const std::function<const char*(const char*)>& env);

// The directories the program writes into, made when missing (the first
// start of an installed program has none). False with the reason in ec.
bool CreateWritableDirs(const ProgramPaths& paths, std::error_code& ec);

// The settings file's environment for these paths: velkarn.ini in
// settings_dir, SkycatDir defaulting to data_dir and StationFile to
// program_dir + "station.dat".
SettingsEnvironment SettingsEnvironmentFor(const ProgramPaths& paths, const std::filesystem::path& home_dir,
                                           int screen_width, int screen_height);

// Where a catalogue search looks: the catalogue in the options' SkycatDir;
// the index velkarn.ndx beside it when it stands there (an index belongs to
// its catalogue), else in the data directory.
CatalogueFiles CatalogueFilesFor(const Options& options, const ProgramPaths& paths,
                                 const PathProbes& probes = FileSystemProbes());
