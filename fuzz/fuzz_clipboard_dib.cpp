// A packed DIB from the clipboard through BMPClipImage: status 0 and a
// picture of exactly the size its header claims, or a negative status and no
// picture.
#include "fuzz_support.h"
#include "image/bmp_clip_image.h"
#include "image/packed_dib.h"
#include "platform/scripted.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ScriptedClipboard clip;
    clip.dib = std::vector<std::uint8_t>(data, data + size);
    BMPClipImage img(clip);
    if (img.status != 0) {
        fuzz::Require(img.status < 0 && !img.HasPicture(), "a failed take kept a picture");
        return 0;
    }
    const packed_dib::Header claimed = packed_dib::ReadHeader(data);
    const int height = claimed.height < 0 ? -claimed.height : claimed.height;
    fuzz::Require(img.width == claimed.width && img.height == height, "the picture's size is not the header's");
    fuzz::Require(img.picture.size() == packed_dib::BlockSize(img.width, img.height).value_or(0),
                  "the picture block is not width x height");
    return 0;
}
