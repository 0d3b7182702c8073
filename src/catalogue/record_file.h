#pragma once
// One of the catalogue's fixed-length record files, read one record at a time:
// every read is one positioned read of `length` bytes at byte n × length. The
// file is never read whole.

#include <cstddef>
#include <filesystem>

class RecordFile {
public:
    RecordFile(const std::filesystem::path& path, std::size_t length);
    ~RecordFile();
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    // Whole records in the file (its size divided by the record length).
    long Count() const { return count_; }
    // Reads record n into buf, which must hold length + 1 bytes; the bytes
    // read are followed by a NUL so the scanf-style conversions stop inside
    // the record. Returns the number of bytes read, 0 for a record outside
    // the file. Each call adds one to *reads when reads is given.
    std::size_t Read(long n, char* buf, int* reads);

private:
    int fd_ = -1;
    std::size_t length_;
    long count_ = 0;
};
