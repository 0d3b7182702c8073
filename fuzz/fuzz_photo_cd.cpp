// A Photo CD file at each resolution step through LoadPhotoCD: status 0 and
// a picture of the step's size, or a negative status and no picture.
#include "fuzz_support.h"
#include "image/packed_dib.h"
#include "image/pcd_file_image.h"
#include "platform/scripted.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto path = fuzz::WriteInput("input.pcd", data, size);
    for (int step = 2; step <= 5; ++step) {
        ScriptedProgress progress;
        const auto img = LoadPhotoCD(progress, path.string(), step);
        fuzz::Require(img != nullptr, "no source object");
        if (img->status != 0) {
            fuzz::Require(img->status < 0 && !img->HasPicture(), "a failed load kept a picture");
            continue;
        }
        fuzz::Require(img->width > 0 && img->height > 0, "a picture without size");
        fuzz::Require(img->picture.size() == packed_dib::BlockSize(img->width, img->height).value_or(0),
                      "the picture block is not width x height");
    }
    return 0;
}
