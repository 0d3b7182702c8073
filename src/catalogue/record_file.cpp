#include "catalogue/record_file.h"

RecordFile::RecordFile(const std::filesystem::path& path, std::size_t length) : length_(length) {
    // Binary mode: the record length counts the line end byte for byte.
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) return;
    if (std::fseek(file_, 0, SEEK_END) == 0) {
        const long size = std::ftell(file_);
        if (size > 0) count_ = size / static_cast<long>(length_);
    }
}

RecordFile::~RecordFile() {
    if (file_) std::fclose(file_);
}

std::size_t RecordFile::Read(long n, char* buf, int* reads) {
    buf[0] = '\0';
    if (!file_ || n < 0) return 0;
    if (reads) ++*reads;
    if (std::fseek(file_, n * static_cast<long>(length_), SEEK_SET) != 0) return 0;
    const std::size_t got = std::fread(buf, 1, length_, file_);
    buf[got] = '\0';
    return got;
}
