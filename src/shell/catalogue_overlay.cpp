#include "shell/catalogue_overlay.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/c_locale.h"
#include "session/plate_solution.h"
#include "session/proper_motion.h"
#include "session/session_data.h"

namespace {
constexpr double kPi = 3.14159265358979323846;

double DegreesBetween(double ra1, double de1, double ra2, double de2) {
    const double a1 = ra1 * kPi / 12, d1 = de1 * kPi / 180, a2 = ra2 * kPi / 12, d2 = de2 * kPi / 180;
    const double c = std::sin(d1) * std::sin(d2) + std::cos(d1) * std::cos(d2) * std::cos(a1 - a2);
    return std::acos(std::clamp(c, -1.0, 1.0)) * 180 / kPi;
}
}  // namespace

SkyRegion OverlayRegion(const PlateSolution& plate, int width, int height) {
    SkyRegion r;
    if (!plate.valid) return r;
    const double xc = width * 0.006, yc = height * 0.006;
    double ra = 0, de = 0;
    PlateToSky(plate, xc, yc, &ra, &de);
    double reach = 0;
    for (const double x : {0.0, 2 * xc})
        for (const double y : {0.0, 2 * yc}) {
            double cra = 0, cde = 0;
            PlateToSky(plate, x, y, &cra, &cde);
            reach = std::max(reach, DegreesBetween(ra, de, cra, cde));
        }
    r.valid = true;
    r.ra = static_cast<float>(ra);
    r.de = static_cast<float>(de);
    r.radius = static_cast<float>(std::min(90.0, reach * 1.3 + 0.2));
    return r;
}

int RingRadius(float mag) { return std::clamp(static_cast<int>(std::lround(11.0 - mag)), 3, 11); }

std::vector<OverlayStar> PlaceCatalogueStars(const PlateSolution& plate, const std::vector<CatStar>& catalogue,
                                             double years, int width, int height) {
    std::vector<OverlayStar> out;
    if (!plate.valid) return out;
    for (const CatStar& c : catalogue) {
        OverlayStar s;
        s.star = c;
        s.star.raobs = static_cast<float>(c.ra + years * c.pmra / 3600.0);
        s.star.deobs = static_cast<float>(c.de + years * c.pmde / 3600.0);
        double x = 0, y = 0;
        if (!SkyToPlate(plate, s.star.raobs, s.star.deobs, &x, &y)) continue;
        const double column = x * kPixelsPerMm, row = (height - 1) - y * kPixelsPerMm;
        if (!(column >= -0.5 && column < width - 0.5 && row >= -0.5 && row < height - 0.5)) continue;
        s.x = static_cast<float>(x);
        s.y = static_cast<float>(y);
        s.radius = RingRadius(c.mag);
        out.push_back(s);
    }
    return out;
}

int NearestOverlayStar(const std::vector<OverlayStar>& stars, const DisplayGeometry& g, ImagePoint p) {
    int best = -1;
    float best_d = g.PickThreshold();
    for (std::size_t i = 0; i < stars.size(); ++i) {
        const float d = std::hypot(p.column - g.PixelColumn(stars[i].x), p.row - g.PixelRow(stars[i].y));
        if (d < best_d) {
            best_d = d;
            best = static_cast<int>(i);
        }
    }
    return best;
}

std::string OverlayStarText(const OverlayStar& s) {
    CNumericLocale c_numbers;
    char text[48];
    std::snprintf(text, sizeof text, "%s  %.1f mag", s.star.name, s.star.mag);
    return text;
}

const std::vector<OverlayStar>& CatalogueOverlay::Update(const SessionData& session, int width, int height,
                                                         float limit, const CatalogueFiles& files) {
    const PlateSolution plate = SolvePlate(session);
    const double years = ProperMotionYears(SessionData::dlgdat);
    std::vector<double> key{plate.valid ? 1.0 : 0.0, double(width), double(height), limit, years};
    if (plate.valid) {
        key.push_back(plate.order);
        for (int k = 1; k <= SessionData::NumConstants(plate.order); ++k) {
            key.push_back(plate.pc[k][1]);
            key.push_back(plate.pc[k][2]);
        }
        for (int c = 0; c < 3; ++c) key.push_back(plate.cen[c]);
        key.push_back(plate.x0);
        key.push_back(plate.y0);
    }
    const std::string files_key = files.catalogue_dir.string() + '\n' + files.index_dir.string();
    if (key == key_ && files_key == files_key_) return stars_;
    key_ = std::move(key);
    files_key_ = files_key;
    stars_.clear();
    const SkyRegion region = OverlayRegion(plate, width, height);
    if (!region.valid) return stars_;
    ++searches_;
    const SkyCat cat(files, region.ra, region.de, region.radius, limit);
    if (cat.status != SkyCatStatus::Found) return stars_;
    stars_ = PlaceCatalogueStars(plate, cat.candidates, years, width, height);
    return stars_;
}
