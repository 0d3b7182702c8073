#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "image/meteor_image.h"

class ProgressService;

// A Photo CD image (type 2): the luminance of one resolution, taken over from
// the Photo CD reader.
class PCDFileImage : public MeteorImage {
public:
    // Takes the status of the Photo CD loading (0, -1, -6, -15 or -17). When
    // it is 0, takes over `image_block`, which must be an uncompressed 8-bit
    // packed DIB with a 40-byte header and a 256-entry colour table: a
    // compressed one gives -14, another bit count -5, a block shorter than
    // its header declares -6. With any other status the source holds no
    // picture.
    PCDFileImage(std::vector<std::uint8_t> image_block, int pcd_status, const std::string& file_name);

private:
    int TakeOver(std::vector<std::uint8_t>& block);
};

// The Photo CD loading of File > Open image file: opens the file (-1 when it
// cannot), chooses the resolution step 2..5 (-17 when the file lacks it),
// loads it while showing progress and polling Escape (-15 when pressed; -6
// for damaged data), closes the file and builds the source from the outcome.
std::unique_ptr<PCDFileImage> LoadPhotoCD(ProgressService& progress, const std::string& path, int resolution_step);
