// velkarn-cli info IMAGE [--json]: opens an image file as File > Open image
// file does and prints its size, type and frame count, or the reason it
// cannot be loaded (exit status 1).
#include <cstdio>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/json_writer.h"
#include "image/open_image.h"
#include "platform/scripted.h"

namespace {

const char* TypeName(int type) {
    if (type & ImageType::Blank) return "blank";
    if (type & ImageType::Frames) return "video";
    if (type & ImageType::PhotoCD) return "Photo CD";
    return "still picture";
}

int RunInfo(const std::vector<std::string>& args) {
    bool json = false;
    std::string path;
    for (const auto& a : args) {
        if (a == "--json") {
            json = true;
        } else if (path.empty() && !a.starts_with("--")) {
            path = a;
        } else {
            std::fprintf(stderr, "velkarn-cli info: unexpected argument \"%s\"\n", a.c_str());
            return 2;
        }
    }
    if (path.empty()) {
        std::fprintf(stderr, "usage: velkarn-cli info IMAGE [--json]\n");
        return 2;
    }

    ScriptedProgress no_progress;  // nothing to show, Escape never pressed
    ImageOpenContext context{no_progress};
    const auto image = OpenImageFile(path, context);
    const int status = image->status;
    std::string message = ImageStatusMessage(status);
    if (status != kStatusOk && message.empty()) message = "Image cannot be loaded (status " + std::to_string(status) + ")";

    if (json) {
        JsonWriter w;
        w.BeginObject();
        w.Value("file", path);
        w.Value("status", status);
        if (status == kStatusOk) {
            w.Value("width", image->width);
            w.Value("height", image->height);
            w.Value("type", image->type);
            w.Value("frames", image->GetNFr());
        } else {
            w.Value("message", message);
        }
        w.EndObject();
        std::printf("%s\n", w.str().c_str());
    } else if (status == kStatusOk) {
        std::printf("width: %d\nheight: %d\ntype: %d (%s)\nframes: %d\n", image->width, image->height,
                    image->type, TypeName(image->type), image->GetNFr());
    }
    if (status != kStatusOk) {
        std::fprintf(stderr, "velkarn-cli info: %s: %s\n", path.c_str(), message.c_str());
        return 1;
    }
    return 0;
}

const CommandRegistration reg{"info", "info IMAGE [--json]", RunInfo};

}  // namespace
