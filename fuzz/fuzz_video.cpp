// A video file through AVIFileImage (our wrapper over FFmpeg): status 0 and
// a picture of the stream's size with at least one frame, or a negative
// status and no picture. Every frame it claims can be asked for.
#include "fuzz_support.h"
#include "image/avi_image.h"
#include "image/packed_dib.h"
#include "platform/raster_canvas.h"
#include "platform/scripted.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto path = fuzz::WriteInput("input.video", data, size);
    ScriptedProgress progress;
    AVIFileImage img(progress, path.string(), nullptr);
    if (img.status != 0) {
        fuzz::Require(img.status < 0 && !img.HasPicture(), "a failed load kept a picture");
        return 0;
    }
    fuzz::Require(img.GetNFr() >= 1, "a video without frames was accepted");
    fuzz::Require(img.picture.size() == packed_dib::BlockSize(img.width, img.height).value_or(0),
                  "the picture block is not width x height");
    RasterCanvas canvas(8, 8);
    for (int f : {0, img.GetNFr() / 2, img.GetNFr() - 1}) img.Display(canvas, 0, 0, 8, 8, 0, 0, img.width, img.height, f);
    return 0;
}
