#include "shell/recovery_copy.h"

#include <fcntl.h>
#include <stdio.h>

#include <cerrno>
#include <fstream>

#include "files/atomic_file.h"
#include "shell/recovery_file.h"

namespace fs = std::filesystem;

namespace {

// Renames from to to unless to exists. False with errno EEXIST when it does.
bool RenameNoReplace(const fs::path& from, const fs::path& to) {
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // A file system that cannot refuse a replacing rename: look first.
    std::error_code ec;
    if (fs::exists(to, ec)) {
        errno = EEXIST;
        return false;
    }
    return std::rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace

fs::path RecoveryCopyPath(const fs::path& state_dir) { return state_dir / "recovery.session"; }

fs::path UnreadableCopyName(const fs::path& copy, std::time_t when, int attempt) {
    std::tm local{};
    localtime_r(&when, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    std::string name = copy.filename().string() + ".unreadable-" + stamp;
    if (attempt > 1) name += "-" + std::to_string(attempt);
    return copy.parent_path() / name;
}

RecoveryCopy::RecoveryCopy(fs::path file) : file_(std::move(file)) {}

bool RecoveryCopy::Keep(const std::string& text) {
    if (!enabled() || (written_valid_ && text == written_)) return true;
    AtomicFile out(file_, Durability::ProgramCrash);
    if (!out.ok()) return false;
    std::fwrite(text.data(), 1, text.size(), out.stream());
    if (!out.Commit()) return false;
    written_ = text;
    written_valid_ = true;
    return true;
}

void RecoveryCopy::Remove() {
    written_valid_ = false;
    written_.clear();
    if (!enabled()) return;
    std::error_code ec;
    fs::remove(file_, ec);
}

bool RecoveryCopy::Exists() const {
    std::error_code ec;
    return enabled() && fs::exists(file_, ec);
}

bool RecoveryCopy::Read(std::string& text) const {
    text.clear();
    std::ifstream in(file_, std::ios::binary);
    if (!in) return false;
    // Reading stops once the text is larger than any copy, which tells the
    // reader it is none.
    char chunk[1 << 16];
    while (text.size() <= kMaxRecoveryBytes && in.read(chunk, sizeof chunk).gcount() > 0) {
        text.append(chunk, static_cast<std::size_t>(in.gcount()));
    }
    return !in.bad();
}

fs::path RecoveryCopy::KeepAside(std::time_t now) {
    written_valid_ = false;
    for (int attempt = 1; attempt <= 100; ++attempt) {
        const fs::path aside = UnreadableCopyName(file_, now, attempt);
        if (RenameNoReplace(file_, aside)) return aside;
        if (errno != EEXIST) break;
    }
    return {};
}
