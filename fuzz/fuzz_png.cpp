// A PNG file through PNGFileImage: status 0 and a picture of the size in its
// IHDR chunk, or a negative status and no picture.
#include "fuzz_still.h"
#include "image/png_file_image.h"
#include "platform/scripted.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto path = fuzz::WriteInput("input.png", data, size);
    ScriptedProgress progress;
    const PNGFileImage img(progress, path.string());
    const bool header = size >= 24;
    fuzz::CheckStill(img, header ? fuzz::Big32(data + 16) : -1, header ? fuzz::Big32(data + 20) : -1);
    return 0;
}
