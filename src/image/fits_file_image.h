#pragma once
#include <string>

#include "image/still_file_image.h"

// A FITS file through CFITSIO: the first image HDU with at least two axes
// (the primary array, or the first image extension when the primary holds
// none). Samples of every BITPIX, scaled by BZERO and BSCALE, are kept
// deep; blank pixels are not numbers and show black. Row 1 of a FITS image
// is its bottom row, as in the picture.
//
// Of a cube the first plane is read, except that three planes are taken as
// red, green and blue and the green one is read. Not read: a file
// compressed as a whole (gzip; its header does not begin the file, status
// -6) and a tile-compressed image (status -20), whose decompression in
// CFITSIO is not safe on damaged data.
class FITSFileImage : public StillFileImage {
public:
    FITSFileImage(ProgressService& progress, const std::string& file_name);

    int planes = 1;  // NAXIS3 of a cube, else 1
    // The celestial gnomonic projection of the header's WCS, "RA---TAN" or
    // "RA---TAN-SIP", when CTYPE1 and CTYPE2 pair it with its DEC axis;
    // empty when there is none.
    std::string wcs;

private:
    int Load(ProgressService& progress);
};
