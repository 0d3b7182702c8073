#pragma once
// The two highest Photo CD resolutions, 4Base (1536 x 1024) and 16Base
// (3072 x 2048), are not stored as pictures but as Huffman-coded residuals
// over the next lower resolution, enlarged twice in each direction.
//
// A residual stream is a sequence of rows. Each row starts with a sync mark,
// 23 one bits and a zero bit, and a 16-bit row header: 2 bits plane
// (0 luma, 2 first chroma, 3 second chroma), 13 bits row number (chroma rows
// carry the number of the first of their two luma rows), 1 spare bit. Then
// follow one code per pixel of the row: width codes for luma, width / 2 for
// chroma, each a signed delta added to the predicted pixel and clamped to
// 0..255. A sync whose row number is at or beyond the plane's height ends the
// stream. Bits run most significant first.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace pcd {

// An 8-bit plane, rows top first, no padding.
struct Plane {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;

    std::uint8_t* Row(int y) { return pixels.data() + static_cast<std::size_t>(y) * width; }
    const std::uint8_t* Row(int y) const { return pixels.data() + static_cast<std::size_t>(y) * width; }
};

// The prediction of the next resolution: twice the width and height, the
// known pixels at even rows and columns, the others the mean of their two or
// four known neighbours with halves rounded up; the last column and the last
// row repeat their neighbour where no pixel lies beyond.
Plane Upsample(const Plane& low);

// One code table of a residual stream. Stored as a count byte (entries - 1),
// then per entry 4 bytes: code length - 1 (lengths 1..16), the code
// left-aligned in 16 bits, big-endian, and the delta as a two's-complement
// byte. When codes overlap, the earlier entry wins.
class HuffmanTable {
public:
    struct Code {
        std::uint8_t length = 0;  // 0: no code starts with these bits
        std::int8_t delta = 0;
    };

    // Parses a table at the start of `data`; sets `used` to its size in
    // bytes. Nothing when the table runs past the data or a length exceeds 16.
    static std::optional<HuffmanTable> Parse(const std::uint8_t* data, std::size_t size, std::size_t& used);

    // The code that the next 16 bits of a stream begin with.
    Code Lookup(std::uint16_t next_bits) const { return lookup_[next_bits]; }

private:
    std::vector<Code> lookup_;  // indexed by the next 16 bits
};

enum class ResidualOutcome { Complete, Damaged, Aborted };

struct ResidualResult {
    ResidualOutcome outcome = ResidualOutcome::Damaged;
    // Bytes of the stream up to and including its end mark (or its last row
    // when the data ends without a mark).
    std::size_t end_byte = 0;
};

// Adds the luma residuals of a stream to `plane`, which holds the prediction
// on entry. `tables` holds the luma table and, when the stream carries
// chroma rows, the two chroma tables (chroma rows are decoded and dropped).
// `rows_done` is called with the number of luma rows decoded after every
// `poll_rows` of them and returns false to abort. Damaged: a row header or a
// code that cannot be, a luma row given twice, more chroma rows than two
// components hold, or luma rows missing.
ResidualResult ApplyResiduals(const std::vector<std::uint8_t>& stream, const std::vector<HuffmanTable>& tables,
                              Plane& plane, int poll_rows, const std::function<bool(int rows_done)>& rows_done);

}  // namespace pcd
