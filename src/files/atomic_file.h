#pragma once
// Writing a file that replaces another: the text goes to a temporary file in
// the same directory, which is renamed over the target only when every byte
// has been written and (by default) flushed to the disk (fsync of the file,
// then of the directory after the rename). A failure at any point leaves the
// old file untouched and removes the temporary one; a kill at any instant
// leaves the old file or the new one, never a part of either. The temporary
// file a killed writer left behind (target.velkarn-XXXXXX) goes at the next
// successful write of the same target. The new file keeps the mode of the
// file it replaces, or gets the default mode of a new file.

#include <cstdio>
#include <filesystem>
#include <string>

// Renames from over to and syncs the directory, so that the new name
// survives a crash. False (errno set) when the rename fails.
bool RenameDurably(const std::filesystem::path& from, const std::filesystem::path& to);

// How far a written file must survive: a crash of the machine (the file and
// its directory are synced to the disk, which can take many milliseconds),
// or only a crash of the program (the rename alone keeps the old file or the
// new one whole; after a power loss the new file may be lost or empty).
enum class Durability { MachineCrash, ProgramCrash };

class AtomicFile {
public:
    // Creates the temporary file; ok() tells whether that worked.
    explicit AtomicFile(std::filesystem::path target, Durability durability = Durability::MachineCrash);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    bool ok() const { return stream_ != nullptr; }
    // The stream to write to (printf-style); null when creation failed.
    std::FILE* stream() { return stream_; }
    // Flushes, closes and renames into place. False (old file untouched) when
    // any write, the flush or the rename failed.
    bool Commit();
    // Closes and removes the temporary file without touching the target.
    void Discard();

    const std::filesystem::path& temp_path() const { return temp_; }

private:
    std::filesystem::path target_;
    std::filesystem::path temp_;
    std::FILE* stream_ = nullptr;
    Durability durability_;
};
