#include "shell/image_file_names.h"

#include <algorithm>
#include <cctype>

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

}  // namespace

ImageKind ImageKindOf(const std::string& name) {
    const std::string tail = LowerTail(name, 3);
    if (tail == "bmp") return ImageKind::Bitmap;
    if (tail == "pcd") return ImageKind::PhotoCD;
    return ImageKind::Video;
}

std::vector<FileFilter> ImageFileFilters() {
    return {
        {"Bitmap (*.bmp)", "*.bmp"},
        {"Photo CD (*.pcd)", "*.pcd"},
        {"Video (*.avi *.mp4 *.mkv *.mov)", "*.avi;*.mp4;*.mkv;*.mov"},
    };
}

std::string DirectoryPart(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ImagePattern(const std::string& path) {
    const char* pattern = "*.avi";
    switch (ImageKindOf(path)) {
        case ImageKind::Bitmap: pattern = "*.bmp"; break;
        case ImageKind::PhotoCD: pattern = "*.pcd"; break;
        case ImageKind::Video: break;
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
