// The source kinds, by extension:
//   .bmp      -> BMPFileImage(context.progress, path)
//   .pcd      -> PCDFileImage, loaded at context.pcd_resolution
//   otherwise -> AVIFileImage(context.progress, path), any file FFmpeg reads
// Each branch returns the constructed source whatever its status.
#include "image/open_image.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "image/bmp_file_image.h"
#include "image/pcd_file_image.h"

namespace {

std::string LowerExtension(const std::string& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

// Stands in for a source kind that cannot be built: reports the file as one
// that cannot be opened.
std::unique_ptr<MeteorImage> Unopenable(const std::string& path) {
    auto image = std::make_unique<MeteorImage>(path);
    image->status = kStatusCannotOpen;
    return image;
}

}  // namespace

std::unique_ptr<MeteorImage> OpenImageFile(const std::string& path, ImageOpenContext& context) {
    const std::string ext = LowerExtension(path);
    if (ext == ".bmp") return std::make_unique<BMPFileImage>(context.progress, path);
    if (ext == ".pcd") return LoadPhotoCD(context.progress, path, context.pcd_resolution);
    return Unopenable(path);
}
