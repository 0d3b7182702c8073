#include "shell/residual_vectors.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/c_locale.h"
#include "session/plate_solution.h"
#include "session/session_data.h"

namespace {
constexpr double kPi = 3.14159265358979323846;

double Median(std::vector<double> v) {
    if (v.empty()) return 0.0;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : 0.5 * (v[n / 2 - 1] + v[n / 2]);
}
}  // namespace

std::string ResidualScaleText(double median_arcsec) {
    // Shown with a decimal point, as every number of the program is.
    CNumericLocale c_numbers;
    char text[64];
    if (median_arcsec < 99.95) {
        std::snprintf(text, sizeof text, "O-C: %.0f px = %.1f\"", kMedianArrowPixels, median_arcsec);
    } else {
        std::snprintf(text, sizeof text, "O-C: %.0f px = %.0f\"", kMedianArrowPixels, median_arcsec);
    }
    return text;
}

ResidualVectors ComputeResidualVectors(const SessionData& session, const PlateSolution& plate,
                                       const DisplayGeometry& g) {
    ResidualVectors out;
    if (!plate.valid || session.Visible() < 4) return out;
    struct Offset {
        double arcsec = 0, dcol = 0, drow = 0;
        bool placed = false;
    };
    std::vector<Offset> offsets(session.nstar);
    std::vector<double> visible;
    for (unsigned int i = 0; i < session.nstar; ++i) {
        const Star& s = session.stars[i];
        const int n = static_cast<int>(i);
        const double mx = session.fxstr(n), my = session.fystr(n);
        // On the sky: catalogue minus the position the fit gives the
        // measurement, as the analysis view's residual columns.
        double ra = 0, de = 0;
        PlateToSky(plate, mx, my, &ra, &de);
        double dh = s.raobs - ra;
        if (dh > 12) dh -= 24;
        if (dh < -12) dh += 24;
        const double dra = std::cos(s.deobs * kPi / 180.0) * dh * 15.0 * 3600.0;
        const double dde = (s.deobs - de) * 3600.0;
        Offset& o = offsets[i];
        o.arcsec = std::hypot(dra, dde);
        // On the image: from the measurement to the catalogue position.
        double cx = 0, cy = 0;
        if (SkyToPlate(plate, s.raobs, s.deobs, &cx, &cy)) {
            o.dcol = (cx - mx) * kPixelsPerMm;
            o.drow = -(cy - my) * kPixelsPerMm;
            o.placed = true;
        }
        if (!s.hidden) visible.push_back(o.arcsec);
    }
    out.median_arcsec = Median(visible);
    if (!(out.median_arcsec > 0.0)) return ResidualVectors{};
    out.scale_text = ResidualScaleText(out.median_arcsec);
    for (unsigned int i = 0; i < session.nstar; ++i) {
        const Offset& o = offsets[i];
        const double len = std::hypot(o.dcol, o.drow);
        if (!o.placed || !(len > 0.0)) continue;
        const int n = static_cast<int>(i);
        ResidualArrow a;
        a.star = n;
        a.hidden = session.stars[i].hidden != 0;
        a.arcsec = o.arcsec;
        a.from = g.MMtoDC(session.fxstr(n), session.fystr(n));
        const double pixels = kMedianArrowPixels * o.arcsec / out.median_arcsec;
        a.to_x = a.from.x + pixels * o.dcol / len;
        a.to_y = a.from.y + pixels * o.drow / len;
        out.arrows.push_back(a);
    }
    return out;
}

ArrowHead ArrowHeadOf(double from_x, double from_y, double to_x, double to_y) {
    ArrowHead h;
    const double dx = from_x - to_x, dy = from_y - to_y;
    const double len = std::hypot(dx, dy);
    if (len < 1.0) return h;
    const double ux = dx / len * 6.0, uy = dy / len * 6.0;
    const double c = std::cos(25.0 * kPi / 180.0), s = std::sin(25.0 * kPi / 180.0);
    h.drawn = true;
    h.left_x = to_x + ux * c - uy * s;
    h.left_y = to_y + ux * s + uy * c;
    h.right_x = to_x + ux * c + uy * s;
    h.right_y = to_y - ux * s + uy * c;
    return h;
}
