#include "shell/image_file_names.h"

#include <algorithm>
#include <cctype>

#include "image/still_kinds.h"

namespace {

std::string LowerTail(const std::string& name, std::size_t n) {
    std::string tail = name.size() > n ? name.substr(name.size() - n) : name;
    std::transform(tail.begin(), tail.end(), tail.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return tail;
}

std::string FileNamePart(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The extension of the file name, lower case, without its dot.
std::string LowerExtension(const std::string& path) {
    const std::string name = FileNamePart(path);
    const std::size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? std::string() : LowerTail(name, name.size() - dot - 1);
}

ImageKind KindOfStill(StillKind kind) {
    switch (kind) {
        case StillKind::Fits: return ImageKind::Fits;
        case StillKind::Tiff: return ImageKind::Tiff;
        case StillKind::Png: return ImageKind::Png;
        case StillKind::Jpeg: return ImageKind::Jpeg;
        case StillKind::Raw: return ImageKind::Raw;
        case StillKind::None: break;
    }
    return ImageKind::Video;
}

FileFilter StillFilter(StillKind kind) {
    std::string description(StillKindName(kind)), pattern;
    description += " (";
    for (const std::string_view ext : StillExtensions(kind)) {
        if (!pattern.empty()) {
            pattern += ';';
            description += ' ';
        }
        pattern += "*." + std::string(ext);
        description += "*." + std::string(ext);
    }
    return {description + ")", pattern};
}

}  // namespace

ImageKind ImageKindOf(const std::string& name) {
    const std::string tail = LowerTail(name, 3);
    if (tail == "bmp") return ImageKind::Bitmap;
    if (tail == "pcd") return ImageKind::PhotoCD;
    return KindOfStill(StillKindOfExtension(LowerExtension(name)));
}

std::vector<FileFilter> ImageFileFilters() {
    std::vector<FileFilter> filters{
        {"All images", ""},
        {"Bitmap (*.bmp)", "*.bmp"},
        {"Photo CD (*.pcd)", "*.pcd"},
        {"Video (*.avi *.mp4 *.mkv *.mov)", "*.avi;*.mp4;*.mkv;*.mov"},
    };
    for (const StillKind kind : {StillKind::Fits, StillKind::Tiff, StillKind::Png, StillKind::Jpeg, StillKind::Raw})
        filters.push_back(StillFilter(kind));
    for (std::size_t i = 1; i < filters.size(); ++i)
        filters[0].pattern += (i > 1 ? ";" : "") + filters[i].pattern;
    return filters;
}

int ImageFilterIndex(ImageKind kind) { return static_cast<int>(kind) + 1; }

std::string DirectoryPart(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ImagePattern(const std::string& path) {
    std::string pattern = "*.avi";
    switch (ImageKindOf(path)) {
        case ImageKind::Bitmap: pattern = "*.bmp"; break;
        case ImageKind::PhotoCD: pattern = "*.pcd"; break;
        case ImageKind::Video: break;
        default: pattern = "*." + LowerExtension(path); break;
    }
    return DirectoryPart(path) + pattern;
}

std::string ImageNameOf(const std::string& path) {
    std::string name = FileNamePart(path);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos) name.resize(dot);
    if (name.size() > 8) name.resize(8);
    return name;
}
