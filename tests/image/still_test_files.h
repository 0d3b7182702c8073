#pragma once
// Still pictures for the reader tests: a deep test picture, written as
// 16-bit PGM and handed to ImageMagick, which writes the FITS, TIFF and PNG
// files the readers must read; FITS headers card by card for the variants
// and hostile headers; and a DNG built with libtiff, tag by tag.
#include <cstdint>
#include <string>
#include <vector>

namespace still_test {

// A picture of 16-bit values, top row first.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint16_t> values;
    std::uint16_t at(int x, int top_row) const { return values[static_cast<std::size_t>(top_row) * width + x]; }
};

// 10 x 10 values whose median is 1000 and 99.5th percentile 3000: 0 at the
// top left, 65535 at the bottom right, 1000, 1500, 2600 and 3000 between
// (59, 20, 10 and 9 of them, in reading order).
Picture DeepPicture();

// Binary PGM of 16-bit samples (or PPM of three pictures as red, green,
// blue) in the test's temporary directory.
std::string WritePgm(const std::string& name, const Picture& p);
std::string WritePpm(const std::string& name, const Picture& red, const Picture& green, const Picture& blue,
                     const char* magic = "P6");

// ImageMagick's convert from `input` to a new file `name` with options
// before the output, and the output's format forced by a prefix such as
// "PNG8:"; the path, or empty when convert failed.
std::string Convert(const std::string& input, const std::string& name, const std::string& options = "",
                    const std::string& format = "");

// A FITS header and data unit: the cards (each padded to 80 characters, END
// added, the header padded to 2880 bytes), then the data, padded likewise.
std::vector<std::uint8_t> FitsBlocks(const std::vector<std::string>& cards, const std::vector<std::uint8_t>& data);
// A FITS file: the cards (each padded to 80 characters, END added, the
// header padded to 2880 bytes), then the data bytes, padded to 2880 bytes.
std::string WriteFits(const std::string& name, const std::vector<std::string>& cards,
                      const std::vector<std::uint8_t>& data);
// The cards SIMPLE, BITPIX, NAXIS and NAXISn of a primary picture of the
// given axes, then the cards `more`.
std::vector<std::string> ImageCards(int bitpix, const std::vector<long>& axes, const std::vector<std::string>& more = {});
// DeepPicture as a 16-bit FITS file with BZERO 32768, rows bottom first as
// FITS stores them, and the cards `more`.
std::string WriteDeepFits(const std::string& name, const std::vector<std::string>& more = {});
// Big-endian bytes of 16-bit and 32-bit float samples.
std::vector<std::uint8_t> BigEndian16(const std::vector<std::int16_t>& v);
std::vector<std::uint8_t> BigEndianFloat(const std::vector<float>& v);

// An uncompressed DNG of a 16-bit RGGB Bayer mosaic holding p's values.
std::string WriteDng(const std::string& name, const Picture& p, bool big_endian = false);

}  // namespace still_test
