#pragma once
#include <cstdint>
#include <string>

#include "image/meteor_image.h"

class ProgressService;

// An uncompressed 8-bit BMP file. The constructor loads the picture, showing
// progress and polling Escape after every piece of kPieceSize bytes; the
// caller checks status afterwards.
//
// Beyond the plain layout (40-byte header, 256 colour entries, pixels right
// after them, rows bottom first) it reads: the longer V4/V5 headers (their
// first 40 bytes are the same), short colour tables and any pixel offset
// (the file header's offset is honoured), and top-down rows (negative
// height), which are stored bottom first like every picture. A header
// shorter than 40 bytes, impossible dimensions, an offset inside the headers
// and a file shorter than its declared pixels give status -6.
//
// The picture keeps the grey ramp as its display table. A file whose own
// colour table is not the identity grey ramp (as image editors write them)
// has each pixel replaced by the green component of its entry, so it is
// shown and measured in its true grey levels.
class BMPFileImage : public MeteorImage {
public:
    static constexpr std::uint64_t kPieceSize = 32768;

    BMPFileImage(ProgressService& progress, const std::string& file_name);

private:
    int Load(ProgressService& progress);
};
