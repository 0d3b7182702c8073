#include "pcd_test_files.h"

#include <cmath>
#include <cstring>
#include <fstream>
#include <numbers>
#include <stdexcept>

#include "image/packed_dib.h"
#include "image/pcd_reader.h"
#include "../support/scratch_dir.h"

namespace pcd_test {
namespace {

constexpr std::size_t kSector = pcd::kSectorSize;

// Bits most significant first.
struct BitWriter {
    void Put(std::uint32_t value, int bits) {
        for (int i = bits - 1; i >= 0; --i) PutBit((value >> i) & 1);
    }
    void PadToByte(int bit) {
        while (count % 8 != 0) PutBit(bit);
    }
    void PutBit(int bit) {
        if (count++ % 8 == 0) bytes.push_back(0);
        if (bit) bytes.back() |= static_cast<std::uint8_t>(0x80 >> ((count - 1) % 8));
    }
    std::vector<std::uint8_t> bytes;
    std::uint64_t count = 0;
};

struct Entry {
    int length;
    std::uint32_t code;  // right-aligned, `length` bits
    int delta;
};

// Luma codes: 0 -> "0", +1 -> "100", -1 -> "101", any other delta "110" and
// its byte. Chroma codes differ in length from these, so a stream decoded
// with the wrong table loses its place. None of them holds a run of ones
// long enough to be mistaken for a sync mark.
std::vector<Entry> LumaCodes() {
    std::vector<Entry> codes = {{1, 0b0, 0}, {3, 0b100, 1}, {3, 0b101, -1}};
    for (int delta = -128; delta < 128; ++delta)
        if (delta < -1 || delta > 1) codes.push_back({11, 0b110u << 8 | static_cast<std::uint8_t>(delta), delta});
    return codes;
}
std::vector<Entry> ChromaCodes(int length) { return {{length, 0, 0}, {length, 1, 1}, {length, 2, 2}}; }

void AppendTable(std::vector<std::uint8_t>& out, const std::vector<Entry>& codes) {
    out.push_back(static_cast<std::uint8_t>(codes.size() - 1));
    for (const Entry& e : codes) {
        const std::uint32_t aligned = e.code << (16 - e.length);
        out.insert(out.end(), {static_cast<std::uint8_t>(e.length - 1), static_cast<std::uint8_t>(aligned >> 8),
                               static_cast<std::uint8_t>(aligned), static_cast<std::uint8_t>(e.delta)});
    }
}

const Entry& CodeFor(const std::vector<Entry>& codes, int delta) {
    for (const Entry& e : codes)
        if (e.delta == delta) return e;
    throw std::logic_error("test picture needs a delta the code table lacks");
}

void PutRowStart(BitWriter& w, int plane, int row) {
    w.Put(0xFFFFFE, 24);
    w.Put(static_cast<std::uint32_t>(plane) << 14 | static_cast<std::uint32_t>(row) << 1, 16);
}

// The residual stream that turns the enlarged lower resolution into `target`.
std::vector<std::uint8_t> ResidualStream(const pcd::Plane& lower, const pcd::Plane& target, bool with_chroma,
                                         const PacOptions& o) {
    const pcd::Plane predicted = pcd::Upsample(lower);
    const std::vector<Entry> luma = LumaCodes();
    const std::vector<Entry> chroma1 = ChromaCodes(2);
    const std::vector<Entry> chroma2 = ChromaCodes(4);
    BitWriter w;
    const auto put_luma_row = [&](int y) {
        if (!with_chroma && y == o.missing_4base_row) return;
        PutRowStart(w, 0, y);
        if (!with_chroma && o.invalid_4base_code && y == 10) w.Put(0b111, 3);
        for (int x = 0; x < target.width; ++x) {
            const Entry& e = CodeFor(luma, target.Row(y)[x] - predicted.Row(y)[x]);
            w.Put(e.code, e.length);
        }
        w.PadToByte(1);
    };
    const auto put_chroma_row = [&](int plane, const std::vector<Entry>& codes, int y) {
        PutRowStart(w, plane, y);
        for (int x = 0; x < target.width / 2; ++x) {
            const Entry& e = CodeFor(codes, (x + y / 2 + plane) % 3);
            w.Put(e.code, e.length);
        }
        w.PadToByte(1);
    };
    for (int y = 0; y < target.height; y += 2) {
        put_luma_row(y);
        put_luma_row(y + 1);
        if (with_chroma) {
            put_chroma_row(2, chroma1, y);
            put_chroma_row(3, chroma2, y);
        }
    }
    PutRowStart(w, 0, target.height);
    w.PadToByte(0);
    return w.bytes;
}

void PadToSector(std::vector<std::uint8_t>& out) { out.resize((out.size() + kSector - 1) / kSector * kSector, 0); }

// Stored picture: per row pair two luma rows, then two chroma rows of half width.
void PutStoredPicture(std::vector<std::uint8_t>& out, std::size_t sector, const pcd::Plane& p) {
    std::size_t at = sector * kSector;
    out.resize(std::max(out.size(), at + static_cast<std::size_t>(p.width) * p.height * 3 / 2), 0);
    for (int y = 0; y < p.height; y += 2) {
        std::memcpy(&out[at], p.Row(y), p.width);
        std::memcpy(&out[at + p.width], p.Row(y + 1), p.width);
        at += 2 * p.width;
        for (int x = 0; x < p.width; ++x) out[at + x] = static_cast<std::uint8_t>(255 - x - y);
        at += p.width;
    }
}

}  // namespace

std::uint8_t Luma(int step, int x, int y) {
    const pcd::Size size = pcd::StepSize(step);
    const double u = (x + 0.5) / size.width;
    const double v = (y + 0.5) / size.height;
    const double wave = 128 + 90 * std::sin(3 * std::numbers::pi * u) * std::cos(2 * std::numbers::pi * v);
    const int texture = (x * 7 + y * 13 + step * 5) % 9 - 4;
    return static_cast<std::uint8_t>(static_cast<int>(wave) + texture);
}

pcd::Plane Picture(int step) {
    const pcd::Size size = pcd::StepSize(step);
    pcd::Plane p{size.width, size.height, std::vector<std::uint8_t>(static_cast<std::size_t>(size.width) * size.height)};
    for (int y = 0; y < size.height; ++y)
        for (int x = 0; x < size.width; ++x) p.Row(y)[x] = Luma(step, x, y);
    return p;
}

std::vector<std::uint8_t> BuildImagePac(const PacOptions& o) {
    std::vector<std::uint8_t> out(4 * kSector, 0);
    std::fill_n(out.begin(), kSector, 0xFF);
    std::memcpy(&out[0x800], "PCD_IPI", 7);
    const int claimed = o.attribute_step ? o.attribute_step : o.highest_step;
    out[0x0E02] = static_cast<std::uint8_t>((claimed - 3) << 2);
    PutStoredPicture(out, 4, Picture(1));
    PutStoredPicture(out, 23, Picture(2));
    PutStoredPicture(out, 96, Picture(3));
    if (o.highest_step < 4) return out;

    out.resize(388 * kSector, 0);
    AppendTable(out, LumaCodes());
    out.resize(389 * kSector, 0);
    const std::vector<std::uint8_t> four_base = ResidualStream(Picture(3), Picture(4), false, o);
    out.insert(out.end(), four_base.begin(), four_base.end());
    PadToSector(out);
    if (o.highest_step < 5) return out;

    const std::size_t end = out.size() / kSector;
    out.resize((end + 12) * kSector, 0);
    AppendTable(out, LumaCodes());
    AppendTable(out, ChromaCodes(2));
    AppendTable(out, ChromaCodes(4));
    out.resize((end + 14) * kSector, 0);
    const std::vector<std::uint8_t> sixteen_base = ResidualStream(Picture(4), Picture(5), true, o);
    out.insert(out.end(), sixteen_base.begin(), sixteen_base.end());
    PadToSector(out);
    return out;
}

const std::vector<std::uint8_t>& FullImagePac() {
    static const std::vector<std::uint8_t> pac = BuildImagePac();
    return pac;
}

std::filesystem::path ScratchPath(const std::string& name) {
    static const testing_support::ScratchDir dir;  // removed when the program ends
    return dir.path() / name;
}

void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

std::uint8_t DibPixel(const std::vector<std::uint8_t>& dib, int x, int y_from_top) {
    const packed_dib::Header h = packed_dib::ReadHeader(dib.data());
    return packed_dib::Row(dib, h.width, h.height - 1 - y_from_top)[x];
}

}  // namespace pcd_test
