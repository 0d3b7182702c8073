// A TIFF file through TIFFFileImage: status 0 and a picture of the size its
// first directory gives (as libtiff reads it), or a negative status and no
// picture.
#include <tiffio.h>

#include "fuzz_still.h"
#include "image/tiff_file_image.h"
#include "platform/scripted.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto path = fuzz::WriteInput("input.tif", data, size);
    ScriptedProgress progress;
    const TIFFFileImage img(progress, path.string());
    std::int64_t w = -1, h = -1;
    if (img.status == 0) {
        TIFFSetErrorHandler(nullptr);
        TIFFSetWarningHandler(nullptr);
        if (TIFF* t = TIFFOpen(path.c_str(), "r")) {
            std::uint32_t tw = 0, th = 0;
            if (TIFFGetField(t, TIFFTAG_IMAGEWIDTH, &tw) && TIFFGetField(t, TIFFTAG_IMAGELENGTH, &th)) w = tw, h = th;
            TIFFClose(t);
        }
    }
    fuzz::CheckStill(img, w, h);
    return 0;
}
