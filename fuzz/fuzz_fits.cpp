// A FITS file through FITSFileImage: status 0 and a picture of the size of
// the first image HDU (as CFITSIO finds it), or a negative status and no
// picture.
#include <fitsio.h>

#include "fuzz_still.h"
#include "image/fits_file_image.h"
#include "platform/raster_canvas.h"
#include "platform/scripted.h"

// CFITSIO asks calloc for whatever a damaged header's sizes multiply to. A
// size no allocator can give returns null here as it does outside the
// sanitizer, and CFITSIO reports it as a status; sizes that can be had are
// still held to libFuzzer's memory limit.
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1"; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto path = fuzz::WriteInput("input.fits", data, size);
    ScriptedProgress progress;
    FITSFileImage img(progress, path.string());
    std::int64_t w = -1, h = -1;
    if (img.status == 0) {
        int st = 0, naxis = 0;
        fitsfile* f = nullptr;
        if (fits_open_image(&f, path.c_str(), READONLY, &st) == 0) {
            LONGLONG axes[2] = {0, 0};
            if (fits_get_img_dim(f, &naxis, &st) == 0 && naxis >= 2 && fits_get_img_sizell(f, 2, axes, &st) == 0)
                w = axes[0], h = axes[1];
            fits_close_file(f, &st);
        }
        fits_clear_errmsg();
    }
    fuzz::CheckStill(img, w, h);
    // Every frame a cube claims can be asked for.
    if (img.status == 0 && img.IsVideo()) {
        RasterCanvas canvas(8, 8);
        for (int f : {0, img.GetNFr() / 2, img.GetNFr() - 1})
            img.Display(canvas, 0, 0, 8, 8, 0, 0, img.width, img.height, f);
        fuzz::Require(img.status == 0, "a frame of the cube just read could not be read again");
    }
    return 0;
}
