#include "catalogue/record_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

std::size_t RecordFile::Read(long n, char* buf, int* reads) {
    buf[0] = '\0';
    if (fd_ < 0 || n < 0) return 0;
    if (reads) ++*reads;
    const off_t at = static_cast<off_t>(n) * static_cast<off_t>(length_);
    ssize_t got;
    do {
        got = ::pread(fd_, buf, length_, at);
    } while (got < 0 && errno == EINTR);
    if (got < 0) got = 0;
    buf[got] = '\0';
    return static_cast<std::size_t>(got);
}
