#pragma once
#include <string>

#include "image/still_file_image.h"

// A JPEG file through libjpeg-turbo (8-bit baseline and progressive, grey
// or colour): grey as it is, colour decoded to RGB and its green taken. A
// file that ends before its last scan is damaged, not padded with grey.
class JPEGFileImage : public StillFileImage {
public:
    JPEGFileImage(ProgressService& progress, const std::string& file_name);

private:
    int Load(ProgressService& progress);
};
