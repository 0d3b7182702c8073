#pragma once
// One of the catalogue's fixed-length record files, read one record at a time:
// record n is the `length` bytes at byte n × length. Reads go through a block
// buffer, as a stdio stream's do, so that a scan over neighbouring records
// costs one system call per block rather than one per record; the file is
// never read whole.

#include <cstddef>
#include <filesystem>
#include <vector>

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
    bool Buffered(long long at) const;

    int fd_ = -1;
    std::size_t length_;
    long count_ = 0;
    std::vector<char> block_;     // bytes of the file from block_at_ on
    long long block_at_ = -1;
};
