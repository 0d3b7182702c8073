// velkarn-cli info IMAGE [--json]: opens an image file as File > Open image
// file does and prints its size, type and frame count, or the reason it
// cannot be loaded (exit status 1). A still of today's formats adds its
// format, bits per sample, the black and white points of its display
// stretch when it is deeper than 8 bits, for FITS whether the header holds
// a celestial gnomonic WCS, for camera RAW the camera.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/command.h"
#include "files/json_writer.h"
#include "image/fits_file_image.h"
#include "image/open_image.h"
#include "image/raw_file_image.h"
#include "image/still_file_image.h"
#include "platform/c_locale.h"
#include "platform/scripted.h"

namespace {

const char* TypeName(int type) {
    if (type & ImageType::Blank) return "blank";
    if (type & ImageType::Frames) return "video";
    if (type & ImageType::PhotoCD) return "Photo CD";
    return "still picture";
}

void StillText(const StillFileImage& still) {
    CNumericLocale c_numbers;
    std::printf("format: %s\nbits: %d\n", still.format.c_str(), still.bits);
    if (still.IsDeep())
        std::printf("black point: %.9g\nwhite point: %.9g\n", still.stretch.black, still.stretch.white);
    if (const auto* fits = dynamic_cast<const FITSFileImage*>(&still))
        std::printf("planes: %d\nwcs: %s\n", fits->planes, fits->wcs.empty() ? "none" : fits->wcs.c_str());
    if (const auto* raw = dynamic_cast<const RawFileImage*>(&still)) std::printf("camera: %s\n", raw->camera.c_str());
}

void StillJson(const StillFileImage& still, JsonWriter& w) {
    w.Value("format", still.format);
    w.Value("bits", still.bits);
    if (still.IsDeep()) {
        w.Value("black_point", static_cast<double>(still.stretch.black));
        w.Value("white_point", static_cast<double>(still.stretch.white));
    }
    if (const auto* fits = dynamic_cast<const FITSFileImage*>(&still)) {
        w.Value("planes", fits->planes);
        w.Value("celestial_wcs", !fits->wcs.empty());
        if (!fits->wcs.empty()) w.Value("wcs_projection", fits->wcs);
    }
    if (const auto* raw = dynamic_cast<const RawFileImage*>(&still)) w.Value("camera", raw->camera);
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
            if (const auto* still = dynamic_cast<const StillFileImage*>(image.get())) StillJson(*still, w);
        } else {
            w.Value("message", message);
        }
        w.EndObject();
        std::printf("%s\n", w.str().c_str());
    } else if (status == kStatusOk) {
        std::printf("width: %d\nheight: %d\ntype: %d (%s)\nframes: %d\n", image->width, image->height,
                    image->type, TypeName(image->type), image->GetNFr());
        if (const auto* still = dynamic_cast<const StillFileImage*>(image.get())) StillText(*still);
    }
    if (status != kStatusOk) {
        std::fprintf(stderr, "velkarn-cli info: %s: %s\n", path.c_str(), message.c_str());
        return 1;
    }
    return 0;
}

const CommandRegistration reg{"info", "info IMAGE [--json]", RunInfo};

}  // namespace
