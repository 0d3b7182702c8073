// The source kinds:
//   .bmp      -> BMPFileImage(context.progress, path)
//   .pcd      -> PCDFileImage, loaded at context.pcd_resolution
//   a still   -> FITSFileImage, TIFFFileImage, PNGFileImage, JPEGFileImage or
//                RawFileImage(context.progress, path)
//   otherwise -> AVIFileImage(context.progress, path, context.messages), any
//                file FFmpeg reads
// Each branch returns the constructed source whatever its status.
#include "image/open_image.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>

#include "image/avi_image.h"
#include "image/bmp_file_image.h"
#include "image/pcd_file_image.h"
#include "image/still_file_image.h"
#include "image/still_kinds.h"

namespace {

std::string LowerExtension(const std::string& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

// The extensions the open dialog offers for video files: these go to the
// video reader whatever their content.
bool IsVideoExtension(const std::string& ext) {
    return ext == ".avi" || ext == ".mp4" || ext == ".mkv" || ext == ".mov";
}

StillKind KindOfContent(const std::string& path) {
    std::uint8_t head[16] = {};
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return StillKind::None;
    const std::size_t got = std::fread(head, 1, sizeof head, f);
    std::fclose(f);
    return StillKindOfMagic(head, got);
}

}  // namespace

StillKind StillKindOfPath(const std::string& path) {
    const std::string ext = LowerExtension(path);
    if (ext == ".bmp" || ext == ".pcd" || IsVideoExtension(ext)) return StillKind::None;
    const StillKind by_name = StillKindOfExtension(ext.empty() ? ext : ext.substr(1));
    return by_name != StillKind::None ? by_name : KindOfContent(path);
}

std::unique_ptr<MeteorImage> OpenImageFile(const std::string& path, ImageOpenContext& context) {
    const std::string ext = LowerExtension(path);
    if (ext == ".bmp") return std::make_unique<BMPFileImage>(context.progress, path);
    if (ext == ".pcd") return LoadPhotoCD(context.progress, path, context.pcd_resolution);
    if (const StillKind kind = StillKindOfPath(path); kind != StillKind::None)
        return OpenStill(kind, context.progress, path);
    return std::make_unique<AVIFileImage>(context.progress, path, context.messages);
}
