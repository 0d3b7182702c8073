#pragma once
// What the FITS readers share: the file handle, how far they look for a
// picture, and the header keywords they read defensively (a missing or
// malformed keyword is simply absent, and CFITSIO's error stack is
// cleared so that it does not grow over a long session).
#include <fitsio.h>

#include <memory>
#include <string>

namespace fits_header {

// Header-data units searched for a picture or a WCS: enough for any real
// file, few enough that a file of empty units cannot keep a reader busy.
constexpr int kMostHdus = 64;

struct Closer {
    void operator()(fitsfile* f) const {
        int ignored = 0;
        fits_close_file(f, &ignored);
    }
};
using File = std::unique_ptr<fitsfile, Closer>;

// A keyword's string value without trailing blanks; empty when absent.
std::string Text(fitsfile* f, const char* key);

// 1 when CTYPE1/CTYPE2 pair RA with DEC on a gnomonic projection (with or
// without SIP distortion), 2 when DEC is on axis 1, 0 for no such pair.
int CelestialRaAxis(fitsfile* f);

}  // namespace fits_header
