#pragma once
#include <memory>
#include <string>

#include "image/meteor_image.h"

class MessageBoxService;
class ProgressService;

// What opening an image file needs besides its name.
struct ImageOpenContext {
    ProgressService& progress;  // load progress and the Escape poll
    int pcd_resolution = 5;     // Photo CD resolution step, 2..5
    // Reports video frames that cannot be decoded while averaging; none: silent.
    MessageBoxService* messages = nullptr;
};

// Opens an image file as File > Open image file does, choosing the source by
// the file name's extension, in any letter case: .bmp a BMP file, .pcd a
// Photo CD image, anything else a video file. Never null: the caller checks
// status (and deletes the source when it is not 0).
std::unique_ptr<MeteorImage> OpenImageFile(const std::string& path, ImageOpenContext& context);
