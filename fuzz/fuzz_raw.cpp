// A camera RAW file through RawFileImage: status 0 and a picture of the
// visible size LibRaw gives it, or a negative status and no picture.
#include <libraw.h>

#include <memory>

#include "fuzz_still.h"
#include "image/raw_file_image.h"
#include "platform/scripted.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto path = fuzz::WriteInput("input.dng", data, size);
    ScriptedProgress progress;
    const RawFileImage img(progress, path.string());
    std::int64_t w = -1, h = -1;
    if (img.status == 0) {
        auto raw = std::make_unique<LibRaw>();
        if (raw->open_file(path.c_str()) == LIBRAW_SUCCESS) w = raw->imgdata.sizes.width, h = raw->imgdata.sizes.height;
    }
    fuzz::CheckStill(img, w, h);
    return 0;
}
