#include "shell/save_failure.h"

#include <cerrno>
#include <cstring>

std::string SaveFailureText(int error_number) {
    const char* why = nullptr;
    switch (error_number) {
        case EACCES:
        case EPERM:
        case EROFS: why = "The directory is not writable."; break;
        case ENOSPC:
        case EDQUOT: why = "The disk is full."; break;
        case ENAMETOOLONG: why = "The path is too long."; break;
        case ENOENT:
        case ENOTDIR: why = "The directory does not exist."; break;
        default: break;
    }
    std::string text = "Session not saved.\n";
    if (why) return text + why;
    if (error_number != 0) return text + std::strerror(error_number) + ".";
    return text + "The file could not be written.";
}
