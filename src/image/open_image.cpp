// The source kinds, by extension:
//   .bmp      -> BMPFileImage(context.progress, path)
//   .pcd      -> PCDFileImage, loaded at context.pcd_resolution
//   otherwise -> AVIFileImage(context.progress, path, context.messages), any
//                file FFmpeg reads
// Each branch returns the constructed source whatever its status.
#include "image/open_image.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "image/avi_image.h"
#include "image/bmp_file_image.h"
#include "image/pcd_file_image.h"

namespace {

std::string LowerExtension(const std::string& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

}  // namespace

std::unique_ptr<MeteorImage> OpenImageFile(const std::string& path, ImageOpenContext& context) {
    const std::string ext = LowerExtension(path);
    if (ext == ".bmp") return std::make_unique<BMPFileImage>(context.progress, path);
    if (ext == ".pcd") return LoadPhotoCD(context.progress, path, context.pcd_resolution);
    return std::make_unique<AVIFileImage>(context.progress, path, context.messages);
}
