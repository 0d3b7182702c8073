#pragma once
// The kinds of still picture the libraries read, how a file is recognised
// as one (by its extension, else by its first bytes) and which source reads
// it.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class ProgressService;
class StillFileImage;

enum class StillKind { None, Fits, Tiff, Png, Jpeg, Raw };

// By a lower-case extension without its dot ("fits", "cr2"); None for any
// other, "bmp" and "pcd" among them.
StillKind StillKindOfExtension(std::string_view ext);

// By the first bytes of a file: "SIMPLE  =" FITS, "II*\0" or "MM\0*" (or
// BigTIFF) TIFF, the PNG signature, FF D8 FF JPEG. Camera RAW files are
// recognised by extension only: most of them are TIFF inside.
StillKind StillKindOfMagic(const std::uint8_t* head, std::size_t size);

// The lower-case extensions of a kind, the first the usual one.
const std::vector<std::string_view>& StillExtensions(StillKind kind);

// "FITS", "TIFF", "PNG", "JPEG", "Camera RAW".
std::string_view StillKindName(StillKind kind);

// Reads a file as the given kind (not None); never null, the caller checks
// status.
std::unique_ptr<StillFileImage> OpenStill(StillKind kind, ProgressService& progress, const std::string& path);
