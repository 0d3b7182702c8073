// A PNG file through PNGFileImage: status 0 and a picture of the size in its
// IHDR chunk, or a negative status and no picture.
#include <cstring>

#include "fuzz_still.h"
#include "image/png_file_image.h"
#include "platform/scripted.h"

namespace {

// Width and height of the first IHDR chunk (libpng lets unknown ancillary
// chunks come before it), or -1, -1.
std::pair<std::int64_t, std::int64_t> HeaderSize(const std::uint8_t* data, std::size_t size) {
    std::size_t at = 8;
    while (at + 16 <= size) {
        const std::uint64_t length = fuzz::Big32(data + at);
        if (std::memcmp(data + at + 4, "IHDR", 4) == 0) return {fuzz::Big32(data + at + 8), fuzz::Big32(data + at + 12)};
        at += 12 + length;
    }
    return {-1, -1};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto path = fuzz::WriteInput("input.png", data, size);
    ScriptedProgress progress;
    const PNGFileImage img(progress, path.string());
    const auto [w, h] = HeaderSize(data, size);
    fuzz::CheckStill(img, w, h);
    return 0;
}
