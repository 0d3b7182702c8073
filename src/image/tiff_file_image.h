#pragma once
#include <string>

#include "image/still_file_image.h"

// A TIFF file through libtiff, its first image: grey (black or white is
// zero) or RGB of 8 or 16 bits (16 kept deep), 32-bit integer or floating
// point samples (deep), palette colour, in strips or tiles, interleaved or
// in planes, with any compression libtiff decodes, either byte order. Any
// other layout libtiff can turn into 8-bit RGBA (1- to 4-bit pixels, CMYK,
// YCbCr, CIE L*a*b*) is read through that. Colour gives its green.
class TIFFFileImage : public StillFileImage {
public:
    TIFFFileImage(ProgressService& progress, const std::string& file_name);

private:
    int Load(ProgressService& progress);
};
