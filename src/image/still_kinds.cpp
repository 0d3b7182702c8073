#include "image/still_kinds.h"

#include <algorithm>
#include <cstring>

#include "image/fits_file_image.h"
#include "image/jpeg_file_image.h"
#include "image/png_file_image.h"
#include "image/raw_file_image.h"
#include "image/tiff_file_image.h"

namespace {

const std::vector<std::string_view> kFits{"fits", "fit", "fts"};
const std::vector<std::string_view> kTiff{"tif", "tiff"};
const std::vector<std::string_view> kPng{"png"};
const std::vector<std::string_view> kJpeg{"jpg", "jpeg", "jpe"};
// The RAW files of the cameras observers use, and the generic DNG.
const std::vector<std::string_view> kRaw{"cr2", "cr3", "crw", "nef", "nrw", "arw", "srf", "sr2",
                                         "raf", "orf", "rw2", "pef", "dng", "srw", "3fr", "erf",
                                         "kdc", "dcr", "mrw", "x3f", "iiq", "mef", "mos", "rwl"};
const std::vector<std::string_view> kNone{};

bool StartsWith(const std::uint8_t* head, std::size_t size, const char* magic, std::size_t n) {
    return size >= n && std::memcmp(head, magic, n) == 0;
}

}  // namespace

const std::vector<std::string_view>& StillExtensions(StillKind kind) {
    switch (kind) {
        case StillKind::Fits: return kFits;
        case StillKind::Tiff: return kTiff;
        case StillKind::Png: return kPng;
        case StillKind::Jpeg: return kJpeg;
        case StillKind::Raw: return kRaw;
        case StillKind::None: break;
    }
    return kNone;
}

StillKind StillKindOfExtension(std::string_view ext) {
    for (StillKind kind : {StillKind::Fits, StillKind::Tiff, StillKind::Png, StillKind::Jpeg, StillKind::Raw}) {
        const auto& list = StillExtensions(kind);
        if (std::find(list.begin(), list.end(), ext) != list.end()) return kind;
    }
    return StillKind::None;
}

StillKind StillKindOfMagic(const std::uint8_t* head, std::size_t size) {
    if (StartsWith(head, size, "SIMPLE  =", 9)) return StillKind::Fits;
    if (StartsWith(head, size, "II*\0", 4) || StartsWith(head, size, "MM\0*", 4) ||
        StartsWith(head, size, "II+\0", 4) || StartsWith(head, size, "MM\0+", 4))
        return StillKind::Tiff;
    if (StartsWith(head, size, "\x89PNG\r\n\x1a\n", 8)) return StillKind::Png;
    if (StartsWith(head, size, "\xff\xd8\xff", 3)) return StillKind::Jpeg;
    return StillKind::None;
}

std::string_view StillKindName(StillKind kind) {
    switch (kind) {
        case StillKind::Fits: return "FITS";
        case StillKind::Tiff: return "TIFF";
        case StillKind::Png: return "PNG";
        case StillKind::Jpeg: return "JPEG";
        case StillKind::Raw: return "Camera RAW";
        case StillKind::None: break;
    }
    return "";
}

std::unique_ptr<StillFileImage> OpenStill(StillKind kind, ProgressService& progress, const std::string& path) {
    switch (kind) {
        case StillKind::Fits: return std::make_unique<FITSFileImage>(progress, path);
        case StillKind::Tiff: return std::make_unique<TIFFFileImage>(progress, path);
        case StillKind::Png: return std::make_unique<PNGFileImage>(progress, path);
        case StillKind::Jpeg: return std::make_unique<JPEGFileImage>(progress, path);
        case StillKind::Raw:
        case StillKind::None: break;
    }
    return std::make_unique<RawFileImage>(progress, path);
}
