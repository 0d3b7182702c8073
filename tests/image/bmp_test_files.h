#pragma once
// Builds BMP files and packed DIBs byte by byte for the image tests, so each
// test states exactly which header field it bends.
#include <gtest/gtest.h>

// Tests name only the Layout fields they bend; the rest keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "../support/scratch_dir.h"

namespace bmp_test {

// The pixel a test picture holds at column x of row y (counted from the
// bottom): distinct across neighbours and rows, all 256 values occurring.
inline std::uint8_t Pattern(int x, int y) { return static_cast<std::uint8_t>(x * 7 + y * 13); }

struct Layout {
    int width = 8;
    int height = 5;  // negative: rows stored top row first
    std::uint32_t header_size = 40;
    std::uint16_t bit_count = 8;
    std::uint32_t compression = 0;
    int colours = 256;           // colour entries written after the header
    std::uint32_t clr_used = 0;  // the header field
    int gap = 0;                 // bytes between the colour table and the pixels
    std::optional<std::uint32_t> pixel_offset;  // default: where the pixels really start
    char magic[2] = {'B', 'M'};
    // The colour table: the identity grey ramp, as most programs write it;
    // or a table whose green component (the grey level) runs backwards,
    // with blue and red unlike it, as an image editor may write one.
    bool editor_table = false;
};

// Entry i of the colour table of l: blue, green, red, reserved.
inline std::vector<std::uint8_t> Entry(const Layout& l, int i) {
    const auto v = static_cast<std::uint8_t>(i);
    if (!l.editor_table) return {v, v, v, 0};
    return {static_cast<std::uint8_t>(3 * i), static_cast<std::uint8_t>(255 - i), static_cast<std::uint8_t>(i / 2), 0};
}

inline void Put(std::vector<std::uint8_t>& out, std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// Header, colour table (Entry) and rows of Pattern, padding bytes 0xEE.
// Rows follow the sign of height.
inline std::vector<std::uint8_t> Dib(const Layout& l) {
    std::vector<std::uint8_t> out;
    Put(out, l.header_size, 4);
    Put(out, static_cast<std::uint32_t>(l.width), 4);
    Put(out, static_cast<std::uint32_t>(l.height), 4);
    Put(out, 1, 2);  // planes
    Put(out, l.bit_count, 2);
    Put(out, l.compression, 4);
    Put(out, 0, 4);     // image size
    Put(out, 2835, 4);  // pixels per metre
    Put(out, 2835, 4);
    Put(out, l.clr_used, 4);
    Put(out, 0, 4);  // important colours
    out.resize(l.header_size, 0);
    for (int i = 0; i < l.colours; ++i) {
        const std::vector<std::uint8_t> e = Entry(l, i);
        out.insert(out.end(), e.begin(), e.end());
    }
    out.resize(out.size() + l.gap, 0x55);
    const int rows = l.height < 0 ? -l.height : l.height;
    const int stride = (l.width * l.bit_count / 8 + 3) / 4 * 4;
    for (int r = 0; r < rows; ++r) {
        const int y = l.height < 0 ? rows - 1 - r : r;
        for (int x = 0; x < stride; ++x) out.push_back(x < l.width ? Pattern(x, y) : 0xEE);
    }
    return out;
}

// A BMP file: the 14-byte file header, then Dib(l).
inline std::vector<std::uint8_t> File(const Layout& l) {
    const std::vector<std::uint8_t> dib = Dib(l);
    std::vector<std::uint8_t> out{static_cast<std::uint8_t>(l.magic[0]), static_cast<std::uint8_t>(l.magic[1])};
    Put(out, 14 + dib.size(), 4);
    Put(out, 0, 4);  // reserved
    Put(out, l.pixel_offset.value_or(14 + l.header_size + 4 * l.colours + l.gap), 4);
    out.insert(out.end(), dib.begin(), dib.end());
    return out;
}

// Writes bytes to a file named after the test in this program's own scratch
// directory (removed when it ends), so that runs side by side, such as the
// comma-locale run, never share a file.
inline std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    static const testing_support::ScratchDir dir;
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    const auto path = dir.path() / (std::string(info->test_suite_name()) + "_" + info->name() + "_" + name);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return path.string();
}

}  // namespace bmp_test
