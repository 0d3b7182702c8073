#include "still_test_files.h"

#include <tiffio.h>

#include <bit>
#include <cstdlib>
#include <utility>

#include "bmp_test_files.h"

namespace still_test {

Picture DeepPicture() {
    Picture p{10, 10, std::vector<std::uint16_t>(100)};
    for (int i = 0; i < 100; ++i)
        p.values[i] = i == 0 ? 0 : i < 60 ? 1000 : i < 80 ? 1500 : i < 90 ? 2600 : i < 99 ? 3000 : 65535;
    return p;
}

std::string WritePgm(const std::string& name, const Picture& p) { return WritePpm(name, p, p, p, "P5"); }

std::string WritePpm(const std::string& name, const Picture& red, const Picture& green, const Picture& blue,
                     const char* magic) {
    const std::string header = std::string(magic) + "\n" + std::to_string(red.width) + " " + std::to_string(red.height) + "\n65535\n";
    std::vector<std::uint8_t> out(header.begin(), header.end());
    for (std::size_t i = 0; i < red.values.size(); ++i)
        for (const Picture* p : {&red, &green, &blue}) {
            out.insert(out.end(), {static_cast<std::uint8_t>(p->values[i] >> 8), static_cast<std::uint8_t>(p->values[i])});
            if (magic[1] == '5') break;  // grey: one sample
        }
    return bmp_test::Write(name, out);
}

std::string Convert(const std::string& input, const std::string& name, const std::string& options,
                    const std::string& format) {
    const std::string out = bmp_test::Write(name, {});
    const std::string cmd = "convert '" + input + "' " + options + " '" + format + out + "' 2>/dev/null";
    return std::system(cmd.c_str()) == 0 ? out : std::string();
}

std::vector<std::uint8_t> FitsBlocks(const std::vector<std::string>& cards, const std::vector<std::uint8_t>& data) {
    std::string header;
    for (const std::string& card : cards) header += card + std::string(80 - card.size(), ' ');
    header += "END" + std::string(77, ' ');
    header.resize((header.size() + 2879) / 2880 * 2880, ' ');
    std::vector<std::uint8_t> out(header.begin(), header.end());
    out.insert(out.end(), data.begin(), data.end());
    out.resize((out.size() + 2879) / 2880 * 2880, 0);
    return out;
}

std::string WriteFits(const std::string& name, const std::vector<std::string>& cards,
                      const std::vector<std::uint8_t>& data) {
    return bmp_test::Write(name, FitsBlocks(cards, data));
}

std::vector<std::string> ImageCards(int bitpix, const std::vector<long>& axes, const std::vector<std::string>& more) {
    auto card = [](std::string key, const std::string& value) {
        key.resize(8, ' ');
        return key + "= " + std::string(20 - value.size(), ' ') + value;
    };
    std::vector<std::string> cards{card("SIMPLE", "T"), card("BITPIX", std::to_string(bitpix)),
                                   card("NAXIS", std::to_string(axes.size()))};
    for (std::size_t i = 0; i < axes.size(); ++i) cards.push_back(card("NAXIS" + std::to_string(i + 1), std::to_string(axes[i])));
    cards.insert(cards.end(), more.begin(), more.end());
    return cards;
}

std::string WriteDeepFits(const std::string& name, const std::vector<std::string>& more) {
    const Picture p = DeepPicture();
    std::vector<std::int16_t> data;
    for (int row = p.height - 1; row >= 0; --row)
        for (int x = 0; x < p.width; ++x) data.push_back(static_cast<std::int16_t>(p.at(x, row) - 32768));
    std::vector<std::string> cards = {"BZERO   =                32768"};
    cards.insert(cards.end(), more.begin(), more.end());
    return WriteFits(name, ImageCards(16, {p.width, p.height}, cards), BigEndian16(data));
}

std::vector<std::uint8_t> BigEndian16(const std::vector<std::int16_t>& v) {
    std::vector<std::uint8_t> out;
    for (const std::int16_t s : v) out.insert(out.end(), {static_cast<std::uint8_t>(s >> 8), static_cast<std::uint8_t>(s)});
    return out;
}

std::vector<std::uint8_t> BigEndianFloat(const std::vector<float>& v) {
    std::vector<std::uint8_t> out;
    for (const float f : v)
        for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(std::bit_cast<std::uint32_t>(f) >> shift));
    return out;
}

std::string WriteDng(const std::string& name, const Picture& p, bool big_endian) {
    const std::string path = bmp_test::Write(name, {});
    TIFF* t = TIFFOpen(path.c_str(), big_endian ? "wb" : "wl");
    if (!t) return std::string();
    const std::uint16_t dim[2] = {2, 2};
    const std::uint8_t rggb[4] = {0, 1, 1, 2};
    const std::uint8_t version[4] = {1, 4, 0, 0};
    const float identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    // One-number fields (passed as int, as the variadic call promotes them).
    for (const auto& [tag, value] : {std::pair{TIFFTAG_SUBFILETYPE, 0}, {TIFFTAG_IMAGEWIDTH, p.width}, {TIFFTAG_IMAGELENGTH, p.height},
                                     {TIFFTAG_BITSPERSAMPLE, 16}, {TIFFTAG_SAMPLESPERPIXEL, 1}, {TIFFTAG_COMPRESSION, COMPRESSION_NONE},
                                     {TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_CFA}, {TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG},
                                     {TIFFTAG_ROWSPERSTRIP, p.height}, {TIFFTAG_CALIBRATIONILLUMINANT1, 21}})
        TIFFSetField(t, tag, value);
    TIFFSetField(t, TIFFTAG_MAKE, "Velkarn");
    TIFFSetField(t, TIFFTAG_MODEL, "Test Mosaic");
    TIFFSetField(t, TIFFTAG_CFAREPEATPATTERNDIM, dim);
    TIFFSetField(t, TIFFTAG_CFAPATTERN, 4, rggb);
    TIFFSetField(t, TIFFTAG_DNGVERSION, version);
    TIFFSetField(t, TIFFTAG_UNIQUECAMERAMODEL, "Velkarn Test Mosaic");
    TIFFSetField(t, TIFFTAG_COLORMATRIX1, 9, identity);
    std::vector<std::uint16_t> row(p.width);
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) row[x] = p.at(x, y);
        TIFFWriteScanline(t, row.data(), y, 0);
    }
    TIFFClose(t);
    return path;
}

}  // namespace still_test
