#include "files/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

AtomicFile::AtomicFile(std::filesystem::path target) : target_(std::move(target)) {
    std::string pattern = target_.string() + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = mkstemp(name.data());
    if (fd < 0) return;
    temp_ = name.data();
    // mkstemp creates the file for its owner only; a replaced file should
    // get the usual permissions, or keep those of the file it replaces.
    struct stat st;
    if (stat(target_.c_str(), &st) == 0) {
        fchmod(fd, st.st_mode & 07777);
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        fchmod(fd, 0666 & ~mask);
    }
    stream_ = fdopen(fd, "w");
    if (!stream_) {
        close(fd);
        std::remove(temp_.c_str());
    }
}

AtomicFile::~AtomicFile() { Discard(); }

bool AtomicFile::Commit() {
    if (!stream_) return false;
    bool good = std::ferror(stream_) == 0;
    good = std::fflush(stream_) == 0 && good;
    good = fsync(fileno(stream_)) == 0 && good;
    good = std::fclose(stream_) == 0 && good;
    stream_ = nullptr;
    if (good) good = std::rename(temp_.c_str(), target_.c_str()) == 0;
    if (!good) std::remove(temp_.c_str());
    temp_.clear();
    return good;
}

void AtomicFile::Discard() {
    if (stream_) {
        std::fclose(stream_);
        stream_ = nullptr;
    }
    if (!temp_.empty()) {
        std::remove(temp_.c_str());
        temp_.clear();
    }
}
