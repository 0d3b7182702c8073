// A JPEG file through JPEGFileImage: status 0 and a picture of the size in
// its first frame header, or a negative status and no picture.
#include "fuzz_still.h"
#include "image/jpeg_file_image.h"
#include "platform/scripted.h"

namespace {

// Width and height of the first SOFn segment, or -1, -1.
std::pair<std::int64_t, std::int64_t> FrameSize(const std::uint8_t* data, std::size_t size) {
    std::size_t at = 2;
    while (at + 9 <= size) {
        if (data[at] != 0xFF) return {-1, -1};
        const std::uint8_t marker = data[at + 1];
        if (marker == 0xFF) {
            ++at;
            continue;
        }
        const bool sof = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (sof) return {data[at + 7] << 8 | data[at + 8], data[at + 5] << 8 | data[at + 6]};
        if (marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
            at += 2;
            continue;
        }
        at += 2 + (data[at + 2] << 8 | data[at + 3]);
    }
    return {-1, -1};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto path = fuzz::WriteInput("input.jpg", data, size);
    ScriptedProgress progress;
    const JPEGFileImage img(progress, path.string());
    const auto [w, h] = FrameSize(data, size);
    fuzz::CheckStill(img, w, h);
    return 0;
}
