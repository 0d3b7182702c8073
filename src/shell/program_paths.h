#pragma once
// Where the program finds its shipped data and keeps the files it writes.
#include <filesystem>

struct ProgramPaths {
    std::filesystem::path exe_dir;       // the executable's directory
    std::filesystem::path data_dir;      // read-only shipped data: catalogue, index, manual
    std::filesystem::path settings_dir;  // velkarn.ini
    std::filesystem::path program_dir;   // logs and station list: the writable program directory
};
