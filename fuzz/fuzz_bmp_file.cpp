// A BMP file through BMPFileImage: status 0 and a picture of exactly the
// size its header claims, or a negative status and no picture.
#include "fuzz_support.h"
#include "image/bmp_file_image.h"
#include "image/packed_dib.h"
#include "platform/scripted.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto path = fuzz::WriteInput("input.bmp", data, size);
    ScriptedProgress progress;
    BMPFileImage img(progress, path.string());
    if (img.status != 0) {
        fuzz::Require(img.status < 0 && !img.HasPicture(), "a failed load kept a picture");
        return 0;
    }
    fuzz::Require(size >= 14 + 40, "a picture from a file shorter than its headers");
    const packed_dib::Header claimed = packed_dib::ReadHeader(data + 14);
    const int height = claimed.height < 0 ? -claimed.height : claimed.height;
    fuzz::Require(img.width == claimed.width && img.height == height, "the picture's size is not the header's");
    fuzz::Require(img.picture.size() == packed_dib::BlockSize(img.width, img.height).value_or(0),
                  "the picture block is not width x height");
    const packed_dib::Header stored = packed_dib::ReadHeader(img.picture.data());
    fuzz::Require(stored.width == img.width && stored.height == img.height && stored.bit_count == 8,
                  "the picture's own header is not its size");
    return 0;
}
