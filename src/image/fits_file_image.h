#pragma once
#include <string>

#include "image/still_file_image.h"

// A FITS file through CFITSIO: the first image HDU with at least two axes
// (the primary array, or the first image extension when the primary holds
// none). Samples of every BITPIX, scaled by BZERO and BSCALE, are kept
// deep; blank pixels are not numbers and show black. Row 1 of a FITS image
// is its bottom row, as in the picture.
//
// A cube of three planes is taken as red, green and blue and its green
// plane is read. Any other cube (an astronomical camera's sequence) is a
// source of frames, like a video (type 9): frame f is plane f + 1, read from
// the file when it is shown and drawn through the picture's stretch, and the
// picture is the mean of up to eight planes chosen as a video's average is,
// which brings out faint stars for the reference measurements. Not read: a file
// compressed as a whole (gzip; its header does not begin the file, status
// -6) and a tile-compressed image (status -20), whose decompression in
// CFITSIO is not safe on damaged data.
class FITSFileImage : public StillFileImage {
public:
    FITSFileImage(ProgressService& progress, const std::string& file_name);

    // A frame (0 or more) of a cube is read into the frame picture and
    // drawn; one that cannot be read any more (the file changed) leaves
    // status -11 and draws nothing, until a frame is shown again.
    void Display(Canvas& dc, int x, int y, int w, int h, int sx, int sy, int sw, int sh, int frame) override;
    int GetNFr() const override { return IsVideo() ? planes : 1; }

    int planes = 1;  // NAXIS3 of a cube, else 1
    // The celestial gnomonic projection of the header's WCS, "RA---TAN" or
    // "RA---TAN-SIP", when CTYPE1 and CTYPE2 pair it with its DEC axis;
    // empty when there is none.
    std::string wcs;

protected:
    void StretchChanged() override { shown_frame_ = -1; }

private:
    int Load(ProgressService& progress);
    bool ReadFrame(int frame);

    int hdu_ = 1;           // the HDU holding the picture
    int naxis_ = 2;
    int shown_frame_ = -1;  // frame now in the frame picture
};
