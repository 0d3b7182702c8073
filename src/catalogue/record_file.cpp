#include "catalogue/record_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace {
constexpr long long kBlock = 4096;
}  // namespace

RecordFile::RecordFile(const std::filesystem::path& path, std::size_t length) : length_(length) {
    // Byte offsets count the line end byte for byte; there is no text mode.
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) return;
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd_);
        fd_ = -1;
        return;
    }
    count_ = static_cast<long>(st.st_size / static_cast<off_t>(length_));
}

RecordFile::~RecordFile() {
    if (fd_ >= 0) ::close(fd_);
}

bool RecordFile::Buffered(long long at) const {
    return block_at_ >= 0 && at >= block_at_ &&
           at + static_cast<long long>(length_) <= block_at_ + static_cast<long long>(block_.size());
}

std::size_t RecordFile::Read(long n, char* buf, int* reads) {
    buf[0] = '\0';
    if (fd_ < 0 || n < 0) return 0;
    if (reads) ++*reads;
    const long long at = static_cast<long long>(n) * static_cast<long long>(length_);
    if (!Buffered(at)) {
        // The aligned block holding the record's first byte, and the next
        // one when the record runs past it.
        const long long start = at / kBlock * kBlock;
        const long long end = (at + static_cast<long long>(length_) + kBlock - 1) / kBlock * kBlock;
        block_.resize(static_cast<std::size_t>(end - start));
        std::size_t have = 0;
        while (have < block_.size()) {
            const ssize_t got = ::pread(fd_, block_.data() + have, block_.size() - have, start + have);
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) break;
            have += static_cast<std::size_t>(got);
        }
        block_.resize(have);
        block_at_ = start;
    }
    std::size_t got = 0;
    if (at < block_at_ + static_cast<long long>(block_.size())) {
        got = static_cast<std::size_t>(block_at_ + static_cast<long long>(block_.size()) - at);
        if (got > length_) got = length_;
        std::memcpy(buf, block_.data() + (at - block_at_), got);
    }
    buf[got] = '\0';
    return got;
}
