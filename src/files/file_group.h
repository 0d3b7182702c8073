#pragma once
// Several files that belong together (the parts of one report), written so
// that either all of them are replaced or none: each goes to a temporary
// file first (AtomicFile), and only when every one of them has been written
// whole are they renamed into place.
#include <filesystem>
#include <string>
#include <vector>

struct FileContent {
    std::filesystem::path path;
    std::string bytes;
};

// True when every file was written. On false, errno says why and failed
// names the file; no file has been touched unless a rename failed after an
// earlier one succeeded (renames within a directory do not fail short of a
// vanished directory).
bool WriteFileGroup(const std::vector<FileContent>& files, std::filesystem::path& failed);
