#pragma once
#include <memory>
#include <string>

#include "image/meteor_image.h"
#include "image/still_kinds.h"

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
// Photo CD image, the extensions of a still kind (still_kinds.h) that kind,
// and a file of any other extension the still kind its first bytes show;
// anything else is a video file. Never null: the caller checks status (and
// deletes the source when it is not 0).
std::unique_ptr<MeteorImage> OpenImageFile(const std::string& path, ImageOpenContext& context);

// The still kind OpenImageFile reads a path as: None for .bmp, .pcd, the
// video extensions the open dialog offers (.avi, .mp4, .mkv, .mov) and any
// file that neither its extension nor its first bytes make a still.
StillKind StillKindOfPath(const std::string& path);
