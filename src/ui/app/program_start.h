#pragma once
// Where this copy of the program finds its data and keeps its files, from
// the executable's directory and the desktop's per-user directories.
#include "files/settings_file.h"
#include "shell/program_paths.h"

struct ProgramStart {
    ProgramPaths paths;
    SettingsEnvironment env;  // exe_dir is the directory that holds velkarn.ini
};

// Needs the QApplication (the executable's directory and the screen size).
// Makes the directories the program writes into when they are missing; one
// that cannot be made shows up later as a file that cannot be written.
ProgramStart FindProgramStart();
