#pragma once
#include <string>

#include "image/still_file_image.h"

// A camera RAW file through LibRaw (CR2, CR3, NEF, ARW, RAF, ORF, DNG, ...):
// the green channel at full sensor resolution, linear, without white
// balance, black subtraction or colour processing, over the camera's
// visible area. A green photosite keeps its own value; any other takes the
// mean of the green photosites among its eight neighbours (the four beside
// it in a Bayer pattern; X-Trans likewise). A file whose sensor data are
// full colour already gives its green; a monochrome sensor its values.
// Samples are kept deep. The camera's orientation flag is not applied.
class RawFileImage : public StillFileImage {
public:
    RawFileImage(ProgressService& progress, const std::string& file_name);

    std::string camera;  // make and model, as LibRaw names them

private:
    int Load(ProgressService& progress);
};
