#include "image/pcd_residuals.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace pcd {
namespace {

constexpr std::uint32_t kSyncMask = 0xFFFFFF00u;
constexpr std::uint32_t kSync = 0xFFFFFE00u;  // 23 ones and a zero, in the top 24 bits
constexpr int kSyncBits = 24;
constexpr int kHeaderBits = 16;

// Reads a byte buffer as a bit string, most significant bit first. Bits past
// the end read as zero; callers check Remaining() before they consume.
class BitReader {
public:
    explicit BitReader(const std::vector<std::uint8_t>& data) : data_(data.data()), size_(data.size()) {}

    std::uint64_t Position() const { return pos_; }
    std::uint64_t Remaining() const { return size_ * 8 > pos_ ? size_ * 8 - pos_ : 0; }
    void Skip(unsigned bits) { pos_ += bits; }
    void Seek(std::uint64_t bit) { pos_ = bit; }

    // The next 32 bits.
    std::uint32_t Peek32() const {
        const std::uint64_t byte = pos_ >> 3;
        std::uint64_t window = 0;
        if (byte + 8 <= size_) {
            std::memcpy(&window, data_ + byte, 8);
            if constexpr (std::endian::native == std::endian::little) window = __builtin_bswap64(window);
        } else {
            for (int i = 0; i < 8; ++i) window = window << 8 | (byte + i < size_ ? data_[byte + i] : 0);
        }
        return static_cast<std::uint32_t>(window << (pos_ & 7) >> 32);
    }

    // Moves to the next sync mark at or after the current position; false
    // when there is none.
    bool FindSync() {
        // A run of 23 ones covers at least two whole bytes of 0xFF, so only
        // the bits just before such a pair need to be tried.
        std::uint64_t byte = pos_ >> 3;
        while (byte + 1 < size_) {
            // With a third 0xFF byte, any sync near this pair ends at least a
            // byte later, where the next pair finds it; long runs of ones
            // thus cost one look per byte.
            if (data_[byte] != 0xFF || data_[byte + 1] != 0xFF || (byte + 2 < size_ && data_[byte + 2] == 0xFF)) {
                ++byte;
                continue;
            }
            const std::uint64_t first = std::max(pos_, byte > 0 ? (byte - 1) * 8 : 0);
            for (std::uint64_t bit = first; bit < byte * 8 + 8; ++bit) {
                pos_ = bit;
                if (Remaining() >= kSyncBits && (Peek32() & kSyncMask) == kSync) return true;
            }
            ++byte;
        }
        pos_ = size_ * 8;
        return false;
    }

private:
    const std::uint8_t* data_;
    std::uint64_t size_;
    std::uint64_t pos_ = 0;
};

std::uint8_t Average2(int a, int b) { return static_cast<std::uint8_t>((a + b + 1) >> 1); }
std::uint8_t Average4(int a, int b, int c, int d) { return static_cast<std::uint8_t>((a + b + c + d + 2) >> 2); }

// Decodes `count` codes with `table`, adding each delta to row[i] when a row
// is given. False when a code is not in the table or the data ends early.
bool DecodeRow(BitReader& bits, const HuffmanTable& table, std::uint8_t* row, int count) {
    for (int i = 0; i < count; ++i) {
        const HuffmanTable::Code code = table.Lookup(static_cast<std::uint16_t>(bits.Peek32() >> 16));
        if (code.length == 0 || bits.Remaining() < code.length) return false;
        bits.Skip(code.length);
        if (row) row[i] = static_cast<std::uint8_t>(std::clamp(row[i] + code.delta, 0, 255));
    }
    return true;
}

std::size_t BytesUpTo(std::uint64_t bit) { return static_cast<std::size_t>((bit + 7) / 8); }

}  // namespace

Plane Upsample(const Plane& low) {
    Plane high;
    high.width = 2 * low.width;
    high.height = 2 * low.height;
    high.pixels.assign(static_cast<std::size_t>(high.width) * high.height, 0);
    const int w = low.width;
    for (int y = 0; y < low.height; ++y) {
        const std::uint8_t* s = low.Row(y);
        std::uint8_t* even = high.Row(2 * y);
        for (int x = 0; x < w; ++x) {
            even[2 * x] = s[x];
            even[2 * x + 1] = x + 1 < w ? Average2(s[x], s[x + 1]) : s[x];
        }
    }
    for (int y = 0; y + 1 < low.height; ++y) {
        const std::uint8_t* s = low.Row(y);
        const std::uint8_t* t = low.Row(y + 1);
        std::uint8_t* odd = high.Row(2 * y + 1);
        for (int x = 0; x + 1 < w; ++x) {
            odd[2 * x] = Average2(s[x], t[x]);
            odd[2 * x + 1] = Average4(s[x], s[x + 1], t[x], t[x + 1]);
        }
        odd[2 * w - 2] = odd[2 * w - 1] = Average2(s[w - 1], t[w - 1]);
    }
    if (low.height > 0) std::copy_n(high.Row(high.height - 2), high.width, high.Row(high.height - 1));
    return high;
}

std::optional<HuffmanTable> HuffmanTable::Parse(const std::uint8_t* data, std::size_t size, std::size_t& used) {
    if (size < 1) return std::nullopt;
    const std::size_t entries = static_cast<std::size_t>(data[0]) + 1;
    used = 1 + 4 * entries;
    if (used > size) return std::nullopt;
    HuffmanTable table;
    table.lookup_.assign(1u << 16, Code{});
    // Filled from the last entry to the first, so that where codes overlap
    // the earlier entry is the one that stays.
    for (std::size_t e = entries; e-- > 0;) {
        const std::uint8_t* p = data + 1 + 4 * e;
        const int length = p[0] + 1;
        if (length > 16) return std::nullopt;
        const unsigned code = static_cast<unsigned>(p[1]) << 8 | p[2];
        const unsigned span = 1u << (16 - length);
        if (code & (span - 1)) continue;  // bits beyond the length: matches nothing
        const Code c{static_cast<std::uint8_t>(length), static_cast<std::int8_t>(p[3])};
        std::fill_n(table.lookup_.begin() + code, span, c);
    }
    return table;
}

ResidualResult ApplyResiduals(const std::vector<std::uint8_t>& stream, const std::vector<HuffmanTable>& tables,
                              Plane& plane, int poll_rows, const std::function<bool(int rows_done)>& rows_done) {
    BitReader bits(stream);
    std::vector<bool> seen(static_cast<std::size_t>(plane.height), false);
    int luma_rows = 0;
    int chroma_rows = 0;  // two components of height / 2 rows each
    std::uint64_t last_row_end = 0;
    const auto damaged = [] { return ResidualResult{ResidualOutcome::Damaged, 0}; };

    for (;;) {
        const bool complete = luma_rows == plane.height;
        if (!bits.FindSync() || bits.Remaining() < kSyncBits + kHeaderBits)
            return complete ? ResidualResult{ResidualOutcome::Complete, BytesUpTo(last_row_end)} : damaged();
        bits.Skip(kSyncBits);
        const std::uint32_t header = bits.Peek32() >> 16;
        bits.Skip(kHeaderBits);
        const int kind = static_cast<int>(header >> 14);
        const int row = static_cast<int>(header >> 1 & 0x1FFF);
        if (row >= plane.height)
            return complete ? ResidualResult{ResidualOutcome::Complete, BytesUpTo(bits.Position())} : damaged();
        // Rows after the last luma row (chroma of the last row pair) carry
        // nothing this reader needs, and without an end mark the next sync may
        // already belong to whatever follows the stream.
        if (complete) return {ResidualOutcome::Complete, BytesUpTo(last_row_end)};

        if (kind == 0) {
            if (seen[row] || !DecodeRow(bits, tables[0], plane.Row(row), plane.width)) return damaged();
            seen[row] = true;
            last_row_end = bits.Position();
            if (++luma_rows % poll_rows == 0 && !rows_done(luma_rows))
                return {ResidualOutcome::Aborted, 0};
        } else {
            const std::size_t table = static_cast<std::size_t>(kind - 1);
            if (kind == 1 || table >= tables.size() || ++chroma_rows > plane.height ||
                !DecodeRow(bits, tables[table], nullptr, plane.width / 2))
                return damaged();
        }
    }
}

}  // namespace pcd
