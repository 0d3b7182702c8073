#pragma once
// A celestial gnomonic world coordinate system as a FITS header gives it:
// "RA---TAN" / "DEC--TAN", optionally with the SIP distortion polynomials of
// "-SIP". Pixel positions are FITS pixels: (1, 1) is the centre of the
// bottom-left pixel, x to the right, y upward, so that a picture position
// (u, v) in pixels from the lower-left corner is FITS (u + 0.5, v + 0.5).
// Sky positions are hours and degrees (equinox 2000.0).
#include <optional>
#include <string>

struct TanWcs {
    static constexpr int kMaxSipOrder = 9;

    double crval[2] = {0, 0};  // reference point on the sky, degrees
    double crpix[2] = {0, 0};  // its FITS pixel
    double cd[2][2] = {{0, 0}, {0, 0}};  // degrees per pixel
    // SIP: forward A, B (pixel offsets added before CD) and their inverse
    // AP, BP; order 0 means none.
    int a_order = 0, b_order = 0, ap_order = 0, bp_order = 0;
    double a[kMaxSipOrder + 1][kMaxSipOrder + 1] = {};
    double b[kMaxSipOrder + 1][kMaxSipOrder + 1] = {};
    double ap[kMaxSipOrder + 1][kMaxSipOrder + 1] = {};
    double bp[kMaxSipOrder + 1][kMaxSipOrder + 1] = {};

    // The sky position of a FITS pixel.
    void PixelToSky(double x, double y, double& ra_h, double& de_deg) const;
    // The FITS pixel of a sky position; false when it lies 90 degrees or
    // more from the reference point (behind the tangent plane).
    bool SkyToPixel(double ra_h, double de_deg, double& x, double& y) const;
};

// The celestial TAN (or TAN-SIP) WCS of a header: of the given HDU of a FITS
// file (1 the primary), or of the first HDU that holds one when hdu is 0.
// Nothing when the file cannot be read, holds no such WCS, or its numbers
// cannot make one (missing or non-finite values, a singular CD matrix, a SIP
// order beyond 9): a damaged header is a missing solution, never a fault.
std::optional<TanWcs> ReadTanWcs(const std::string& path, int hdu = 0);
