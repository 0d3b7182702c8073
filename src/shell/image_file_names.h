#pragma once
// The file names of File > Open image file: which filter the dialog starts
// with, what opt.image remembers, and the image name of the exposure record.
#include <string>
#include <vector>

#include "platform/file_dialog.h"

enum class ImageKind { Bitmap, PhotoCD, Video };

// By the last three characters of a name, in any letter case: "bmp" a
// bitmap, "pcd" a Photo CD image, anything else a video (every other file is
// opened by the video reader).
ImageKind ImageKindOf(const std::string& name);

// The open dialog's filters: bitmap, Photo CD, video (every container the
// video reader opens).
std::vector<FileFilter> ImageFileFilters();

// The directory part of a path: everything up to and including its last
// "/"; empty when it has none.
std::string DirectoryPart(const std::string& path);

// What opt.image remembers of an opened file: its directory followed by the
// pattern of its kind ("*.bmp", "*.pcd", "*.avi").
std::string ImagePattern(const std::string& path);

// The image name of the exposure record: the file name without its
// extension (cut at the last "."), at most 8 characters.
std::string ImageNameOf(const std::string& path);
