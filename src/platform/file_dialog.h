#pragma once
// The desktop's common open and save file dialogs.
#include <optional>
#include <string>
#include <vector>

struct FileFilter {
    std::string description;  // "Bitmap (*.bmp)"
    std::string pattern;      // "*.bmp"; several patterns separated by ";"; empty: any file
};

struct FileDialogRequest {
    std::vector<FileFilter> filters;
    int filter_index = 0;    // the filter selected at the start, 0-based
    std::string directory;   // initial directory
    std::string file_name;   // name preset in the name field (save dialog)
};

class FileDialogService {
public:
    virtual ~FileDialogService() = default;
    // The chosen existing file (path and file must exist); nothing on Cancel.
    virtual std::optional<std::string> Open(const FileDialogRequest& request) = 0;
    // The chosen file name in an existing directory; nothing on Cancel. The
    // dialog itself never asks about overwriting: the caller does.
    virtual std::optional<std::string> Save(const FileDialogRequest& request) = 0;
};
