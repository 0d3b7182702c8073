#include "files/file_group.h"

#include <cerrno>
#include <cstdio>
#include <memory>

#include "files/atomic_file.h"

namespace {

// 0 when every file was written, else the error number; the temporary files
// of a failed group are removed when it returns.
int WriteAll(const std::vector<FileContent>& files, std::filesystem::path& failed) {
    std::vector<std::unique_ptr<AtomicFile>> temps;
    for (const FileContent& f : files) {
        auto out = std::make_unique<AtomicFile>(f.path);
        std::FILE* stream = out->stream();
        errno = 0;
        const bool written = out->ok() && std::fwrite(f.bytes.data(), 1, f.bytes.size(), stream) == f.bytes.size() &&
                             std::fflush(stream) == 0 && std::ferror(stream) == 0;
        if (!written) {
            failed = f.path;
            return errno != 0 ? errno : EIO;
        }
        temps.push_back(std::move(out));
    }
    for (std::size_t i = 0; i < temps.size(); ++i) {
        if (!temps[i]->Commit()) {
            failed = files[i].path;
            return errno != 0 ? errno : EIO;
        }
    }
    return 0;
}

}  // namespace

bool WriteFileGroup(const std::vector<FileContent>& files, std::filesystem::path& failed) {
    const int error = WriteAll(files, failed);
    errno = error;
    return error == 0;
}
