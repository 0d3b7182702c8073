#include "files/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <random>

namespace {

constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
constexpr char kTempMark[] = ".velkarn-";
constexpr int kTempLetters = 6;

// A name beside the target that no other file has: target.velkarn-XXXXXX.
std::filesystem::path TempName(const std::filesystem::path& target) {
    thread_local std::mt19937 random{std::random_device{}()};
    std::string name = target.string() + kTempMark;
    for (int i = 0; i < kTempLetters; ++i) name += kLetters[random() % (sizeof kLetters - 1)];
    return name;
}

bool IsTempNameOf(const std::string& name, const std::string& target_name) {
    const std::string head = target_name + kTempMark;
    if (name.size() != head.size() + kTempLetters || name.compare(0, head.size(), head) != 0) return false;
    return name.find_first_not_of(kLetters, head.size()) == std::string::npos;
}

// A temporary file of this target that nobody has written to for a minute
// was left by a writer that was killed; one being written is never that old.
void RemoveStaleTemporaries(const std::filesystem::path& target) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path dir = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    const std::string target_name = target.filename().string();
    const auto limit = fs::file_time_type::clock::now() - std::chrono::minutes(1);
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!IsTempNameOf(name, target_name) || !it->is_regular_file(ec)) continue;
        const auto written = fs::last_write_time(it->path(), ec);
        if (!ec && written < limit) fs::remove(it->path(), ec);
    }
}

// fsync of a directory, so that a rename in it survives a crash of the
// machine. File systems that cannot sync a directory need not.
bool SyncDirectory(const std::filesystem::path& dir) {
    const int fd = open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool good = fsync(fd) == 0 || errno == EINVAL || errno == EROFS;
    close(fd);
    return good;
}

}  // namespace

bool RenameDurably(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (std::rename(from.c_str(), to.c_str()) != 0) return false;
    SyncDirectory(to.parent_path());
    return true;
}

AtomicFile::AtomicFile(std::filesystem::path target, Durability durability)
    : target_(std::move(target)), durability_(durability) {
    // The mode given to open passes through the umask (and a default ACL of
    // the directory) as for any new file; a replaced file's own mode is
    // taken over below. The process umask is never touched.
    int fd = -1;
    for (int tries = 0; tries < 100 && fd < 0; ++tries) {
        temp_ = TempName(target_);
        fd = open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        temp_.clear();
        return;
    }
    struct stat st;
    if (stat(target_.c_str(), &st) == 0) fchmod(fd, st.st_mode & 07777);
    stream_ = fdopen(fd, "w");
    if (!stream_) {
        close(fd);
        std::remove(temp_.c_str());
        temp_.clear();
    }
}

AtomicFile::~AtomicFile() { Discard(); }

bool AtomicFile::Commit() {
    if (!stream_) return false;
    bool good = std::ferror(stream_) == 0;
    good = std::fflush(stream_) == 0 && good;
    const bool durable = durability_ == Durability::MachineCrash;
    if (durable) good = fsync(fileno(stream_)) == 0 && good;
    good = std::fclose(stream_) == 0 && good;
    stream_ = nullptr;
    if (good) good = durable ? RenameDurably(temp_, target_) : std::rename(temp_.c_str(), target_.c_str()) == 0;
    if (good) RemoveStaleTemporaries(target_);
    if (!good) {
        const int error = errno;
        std::remove(temp_.c_str());
        errno = error;
    }
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
