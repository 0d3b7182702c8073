#pragma once
// The file names of File > Open image file: which filter the dialog starts
// with, what opt.image remembers, and the image name of the exposure record.
#include <string>
#include <vector>

#include "platform/file_dialog.h"

// The kinds of image file, in the order of their filters after "All images".
enum class ImageKind { Bitmap, PhotoCD, Video, Fits, Tiff, Png, Jpeg, Raw };

// By the last three characters of a name, in any letter case: "bmp" a
// bitmap, "pcd" a Photo CD image; else by its extension, in any letter
// case, one of the still kinds (still_kinds.h); anything else a video
// (every other file is opened by the video reader).
ImageKind ImageKindOf(const std::string& name);

// The open dialog's filters: "All images" first (every kind below), then
// bitmap, Photo CD, video (every container the video reader opens), FITS,
// TIFF, PNG, JPEG and camera RAW.
std::vector<FileFilter> ImageFileFilters();

// The filter of a kind in ImageFileFilters.
int ImageFilterIndex(ImageKind kind);

// The directory part of a path: everything up to and including its last
// "/"; empty when it has none.
std::string DirectoryPart(const std::string& path);

// What opt.image remembers of an opened file: its directory followed by the
// pattern of its kind ("*.bmp", "*.pcd", "*.avi"); a still, the pattern of
// its own extension in lower case ("*.cr2" for IMG_0001.CR2).
std::string ImagePattern(const std::string& path);

// The image name of the exposure record: the file name without its
// extension (cut at the last "."), at most 8 characters.
std::string ImageNameOf(const std::string& path);
