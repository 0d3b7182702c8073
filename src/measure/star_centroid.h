#pragma once
// The centre of a star image near a click: the intensity-weighted centroid
// of the pixels above the sky background, found by iteration. Used to snap a
// click in the magnifier to the star's centre, and wherever stars are found
// on an image by the program itself.
//
// Positions are in image pixels counted from the lower-left corner of the
// bottom-left pixel (pixel (c, r) has its centre at c + 0.5, r + 0.5), as
// plate positions are (0.012 mm per pixel).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// An 8-bit picture whose rows count from the bottom, as in a packed DIB.
struct GreyView {
    const std::uint8_t* bottom_row = nullptr;  // row 0
    std::ptrdiff_t stride = 0;                  // bytes from one row to the next up
    int width = 0;
    int height = 0;
    int At(int column, int row) const { return bottom_row[row * stride + column]; }
    // The picture of a packed 8-bit DIB of the given size.
    static GreyView OfDib(const std::vector<std::uint8_t>& dib, int width, int height);
};

struct StarCentre {
    double x = 0.0;
    double y = 0.0;
    double background = 0.0;  // sky level from the annulus
    double noise = 0.0;       // its spread (one sigma)
    double peak = 0.0;        // brightest pixel above the background
    int radius = 0;           // of the window the centroid was taken in
};

enum class CentroidFailure {
    NoStar,      // nothing stands out from the noise
    AtTheEdge,   // the star's window reaches beyond the picture
};

struct CentroidResult {
    std::optional<StarCentre> centre;
    CentroidFailure failure = CentroidFailure::NoStar;  // when there is none
};

// The star around (x, y). The window starts at 3 pixels' radius and grows
// with the star's measured size (three sigmas of its profile, at most 15);
// the background and noise come from an annulus 2 to 6 pixels outside it
// (median and median absolute deviation, so that a neighbouring star barely
// moves them); the iteration stops when the centre moves by less than 0.01
// pixel. A star whose brightest pixel stands less than five noise sigmas (and
// at least 3 grey levels) above the background is no star.
CentroidResult StarCentroid(const GreyView& picture, double x, double y);

// What the measuring dialogs tell the observer when a click is kept.
std::string CentroidFailureText(CentroidFailure failure);
