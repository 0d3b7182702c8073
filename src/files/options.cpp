#include "files/options.h"

Options opt;

bool FitsOptionPath(std::string_view path) { return path.size() <= kMaxOptionPath; }

std::string OverlongPathText(std::string_view path, std::string_view consequence) {
    // The start and the end of the path say which one it is.
    const std::string shown = path.size() <= 80 ? std::string(path)
                                                : std::string(path.substr(0, 40)) + "..." +
                                                      std::string(path.substr(path.size() - 37));
    return "The path\n" + shown + "\nis longer than " + std::to_string(kMaxOptionPath) + " characters.\n" +
           std::string(consequence);
}
