#pragma once
// The catalogue overlay of the image view: once the visible stars give a
// plate solution, every catalogue star down to the limiting magnitude that
// falls on the image, ringed at the position the solution predicts for it.
// The observer sees at once which stars are still to be measured and which
// measured star sits off its catalogue place.
//
// The catalogue is read once per plate solution: CatalogueOverlay keeps the
// placed stars and looks again only when the solution, the image size, the
// limit, the date or the catalogue change.

#include <string>
#include <vector>

#include "catalogue/sky_cat.h"
#include "platform/rgb.h"
#include "shell/display_geometry.h"

class SessionData;
struct PlateSolution;

// Magenta: none of the markers, the residual arrows or the picture's grey.
inline constexpr Rgb kCatalogueRingColour{255, 0, 255};

struct OverlayStar {
    CatStar star;       // raobs, deobs at the observation date
    float x = 0.0f;     // predicted plate position, mm
    float y = 0.0f;
    int radius = 0;     // of the ring, screen pixels
};

// The search that covers the image: its centre and a radius that reaches
// every corner with room to spare (the catalogue's box narrows in right
// ascension away from its centre's declination).
struct SkyRegion {
    bool valid = false;
    float ra = 0.0f;      // hours
    float de = 0.0f;      // degrees
    float radius = 0.0f;  // degrees
};
SkyRegion OverlayRegion(const PlateSolution& plate, int width, int height);

// Ring radius by magnitude: 11 pixels at magnitude 0 and brighter, one
// pixel less per magnitude, 3 at the faintest.
int RingRadius(float mag);

// The catalogue stars brought to the observation date (years since 2000.0)
// whose predicted positions fall on the image of width x height pixels.
std::vector<OverlayStar> PlaceCatalogueStars(const PlateSolution& plate, const std::vector<CatStar>& catalogue,
                                             double years, int width, int height);

// The ring nearest to an image point within the pick threshold; -1: none.
int NearestOverlayStar(const std::vector<OverlayStar>& stars, const DisplayGeometry& g, ImagePoint p);

// "Alp Per  1.8 mag": the tooltip of a ring.
std::string OverlayStarText(const OverlayStar& s);

class CatalogueOverlay {
public:
    // Brings the placed stars up to date for the session's plate solution;
    // returns them. Empty without a solution or when the catalogue cannot
    // be read.
    const std::vector<OverlayStar>& Update(const SessionData& session, int width, int height, float limit,
                                           const CatalogueFiles& files);
    const std::vector<OverlayStar>& stars() const { return stars_; }
    // How often the catalogue was searched (for tests).
    int searches() const { return searches_; }

private:
    std::vector<double> key_;
    std::string files_key_;
    std::vector<OverlayStar> stars_;
    int searches_ = 0;
};
