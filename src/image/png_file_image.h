#pragma once
#include <string>

#include "image/still_file_image.h"

// A PNG file through libpng: grey, grey with alpha, palette, RGB and RGBA,
// of 1 to 16 bits, interlaced or not. 16-bit samples are kept deep; colour
// gives its green, alpha is ignored.
class PNGFileImage : public StillFileImage {
public:
    PNGFileImage(ProgressService& progress, const std::string& file_name);

private:
    int Load(ProgressService& progress);
};
