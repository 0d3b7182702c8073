#include "identify/identify_stars.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <numbers>

#include "astro/numerical_error.h"
#include "identify/star_detection.h"
#include "platform/c_locale.h"
#include "platform/progress.h"
#include "session/session_data.h"

namespace {

constexpr double kDeg = std::numbers::pi / 180;
// Stars handed to the solver, and the fewest it is worth asking with.
constexpr std::size_t kSolverStars = 200;
constexpr std::size_t kFewestStars = 8;
// Field widths searched without a hint, degrees: from a narrow lens to a
// 16 mm lens on the nominal plate.
constexpr double kWidestField = 90;
constexpr double kNarrowestField = 1;
// A known width is searched within this share either way.
constexpr double kWidthTolerance = 0.1;
// A star image counts as the predicted star within this many pixels.
constexpr double kMatchPixels = 3.0;
// Another catalogue star predicted this near, and not much fainter, makes
// the identification doubtful: the star is left out.
constexpr double kCrowdPixels = 8.0;
constexpr float kCrowdMagnitudes = 2.5f;
// Predictions nearer than this to the edge are not measured.
constexpr double kEdgePixels = 4.0;
// Too few proposals to trust the solution.
constexpr std::size_t kFewestProposals = 3;

double Separation(double ra1, double de1, double ra2, double de2) {
    const double a1 = ra1 * 15 * kDeg, d1 = de1 * kDeg, a2 = ra2 * 15 * kDeg, d2 = de2 * kDeg;
    const double h = std::sin((d2 - d1) / 2) * std::sin((d2 - d1) / 2) +
                     std::cos(d1) * std::cos(d2) * std::sin((a2 - a1) / 2) * std::sin((a2 - a1) / 2);
    return 2 * std::asin(std::min(1.0, std::sqrt(h))) / kDeg;
}

struct Predicted {
    const CatStar* star;
    double u, v;  // picture pixels from the lower-left corner
};

}  // namespace

std::string IdentifyStatusText(IdentifyStatus status) {
    switch (status) {
        case IdentifyStatus::Found: return {};
        case IdentifyStatus::NoSolution: return kNoPlateSolution;
        case IdentifyStatus::Cancelled: return {};
        case IdentifyStatus::NoSolver:
            return "The plate solver is not installed.\nInstall the packages astrometry.net and\n"
                   "astrometry-data-tycho2-10-19-littleendian.";
        case IdentifyStatus::NoIndex:
            return "The plate solver's star index is not installed.\nInstall the package\n"
                   "astrometry-data-tycho2-10-19-littleendian.";
        case IdentifyStatus::NoCatalogue: return SkyCatStatusMessage(SkyCatStatus::FileError).text;
    }
    return {};
}

SkyPointing SolutionOf(const TanWcs& wcs, int width, int height) {
    SkyPointing s;
    const double cx = width / 2.0 + 0.5, cy = height / 2.0 + 0.5;  // FITS pixel of the centre
    wcs.PixelToSky(cx, cy, s.ra_h, s.de_deg);
    double ra_x, de_x, ra_y, de_y;
    wcs.PixelToSky(cx + 1, cy, ra_x, de_x);
    wcs.PixelToSky(cx, cy + 1, ra_y, de_y);
    // Offsets on the tangent plane at the centre, east and north, degrees.
    auto offset = [&](double ra, double de, double& e, double& n) {
        double dra = (ra - s.ra_h) * 15;
        if (dra > 180) dra -= 360;
        if (dra < -180) dra += 360;
        e = dra * std::cos(s.de_deg * kDeg);
        n = de - s.de_deg;
    };
    double ex, nx, ey, ny;
    offset(ra_x, de_x, ex, nx);
    offset(ra_y, de_y, ey, ny);
    s.arcsec_per_pixel = std::sqrt(std::fabs(ex * ny - ey * nx)) * 3600;
    s.rotation_deg = std::atan2(ey, ny) / kDeg;
    if (s.rotation_deg < 0) s.rotation_deg += 360;
    // North up with east to the left is the sky as seen: x then points west.
    s.mirrored = ex * ny - ey * nx > 0;
    double ra_l, de_l, ra_r, de_r;
    wcs.PixelToSky(0.5, cy, ra_l, de_l);
    wcs.PixelToSky(width + 0.5, cy, ra_r, de_r);
    s.width_deg = Separation(ra_l, de_l, ra_r, de_r);
    wcs.PixelToSky(cx, 0.5, ra_l, de_l);
    wcs.PixelToSky(cx, height + 0.5, ra_r, de_r);
    s.height_deg = Separation(ra_l, de_l, ra_r, de_r);
    return s;
}

std::vector<StarProposal> ProposeStars(const GreyView& picture, const TanWcs& wcs, const CatalogueFiles& files,
                                       float limit, int& catalogue_status) {
    std::vector<StarProposal> proposals;
    const SkyPointing s = SolutionOf(wcs, picture.width, picture.height);
    const double radius = std::min(89.0, std::hypot(s.width_deg, s.height_deg) / 2 + 0.5);
    SkyCat cat(files, static_cast<float>(s.ra_h), static_cast<float>(s.de_deg), static_cast<float>(radius), limit);
    catalogue_status = cat.status;
    if (cat.status != SkyCatStatus::Found) return proposals;

    std::vector<Predicted> predicted;
    for (const CatStar& c : cat.candidates) {
        double x, y;
        if (!wcs.SkyToPixel(c.ra, c.de, x, y)) continue;
        const double u = x - 0.5, v = y - 0.5;
        if (u < -kCrowdPixels || v < -kCrowdPixels || u > picture.width + kCrowdPixels || v > picture.height + kCrowdPixels)
            continue;
        predicted.push_back({&c, u, v});
    }
    for (const Predicted& p : predicted) {
        if (p.u < kEdgePixels || p.v < kEdgePixels || p.u > picture.width - kEdgePixels ||
            p.v > picture.height - kEdgePixels)
            continue;
        const bool crowded = std::any_of(predicted.begin(), predicted.end(), [&](const Predicted& o) {
            return &o != &p && std::hypot(o.u - p.u, o.v - p.v) < kCrowdPixels &&
                   o.star->mag < p.star->mag + kCrowdMagnitudes;
        });
        if (crowded) continue;
        const CentroidResult found = StarCentroid(picture, p.u, p.v);
        if (!found.centre) continue;
        const double d = std::hypot(found.centre->x - p.u, found.centre->y - p.v);
        if (d > kMatchPixels) continue;
        proposals.push_back({*p.star, found.centre->x, found.centre->y, d});
    }
    // Two predictions that measured the same star image name neither.
    std::vector<bool> doubtful(proposals.size(), false);
    for (std::size_t i = 0; i < proposals.size(); ++i)
        for (std::size_t j = i + 1; j < proposals.size(); ++j)
            if (std::hypot(proposals[i].x - proposals[j].x, proposals[i].y - proposals[j].y) < kMatchPixels)
                doubtful[i] = doubtful[j] = true;
    std::vector<StarProposal> kept;
    for (std::size_t i = 0; i < proposals.size(); ++i)
        if (!doubtful[i]) kept.push_back(proposals[i]);
    std::stable_sort(kept.begin(), kept.end(),
                     [](const StarProposal& a, const StarProposal& b) { return a.star.mag < b.star.mag; });
    return kept;
}

IdentifyResult IdentifyStars(const GreyView& picture, const IdentifyRequest& request, ProgressService& progress) {
    IdentifyResult result;
    std::optional<TanWcs> wcs = request.header_wcs;
    result.from_header = wcs.has_value();
    if (!wcs) {
        // The solver's absence is told before any work is done.
        if (FindSolver(request.solver).empty()) {
            result.status = IdentifyStatus::NoSolver;
            return result;
        }
        if (!SolverIndexPresent(request.solver)) {
            result.status = IdentifyStatus::NoIndex;
            return result;
        }
        progress.Report(0);
        std::vector<DetectedStar> stars = DetectStars(picture, kSolverStars);
        result.detected = static_cast<int>(stars.size());
        if (progress.EscapePressed()) {
            result.status = IdentifyStatus::Cancelled;
            return result;
        }
        if (stars.size() < kFewestStars) return result;
        progress.Report(10);
        SolveRequest solve;
        solve.width = picture.width;
        solve.height = picture.height;
        solve.stars = std::move(stars);
        solve.time_limit_s = request.time_limit_s;
        if (request.width_deg) {
            solve.width_low_deg = *request.width_deg * (1 - kWidthTolerance);
            solve.width_high_deg = *request.width_deg * (1 + kWidthTolerance);
        } else {
            solve.width_low_deg = kNarrowestField;
            solve.width_high_deg = kWidestField;
        }
        const SolveResult solved = SolvePlate(solve, request.solver, progress, 10, 90);
        switch (solved.outcome) {
            case SolveOutcome::Solved: wcs = solved.wcs; break;
            case SolveOutcome::NotSolved: return result;
            case SolveOutcome::Cancelled: result.status = IdentifyStatus::Cancelled; return result;
            case SolveOutcome::NoSolver: result.status = IdentifyStatus::NoSolver; return result;
            case SolveOutcome::NoIndex: result.status = IdentifyStatus::NoIndex; return result;
        }
    }
    progress.Report(90);
    result.solution = SolutionOf(*wcs, picture.width, picture.height);
    int catalogue_status = 0;
    result.proposals = ProposeStars(picture, *wcs, request.files, request.limit, catalogue_status);
    progress.Report(100);
    if (catalogue_status == SkyCatStatus::FileError) {
        result.status = IdentifyStatus::NoCatalogue;
        return result;
    }
    // A header WCS or solution that fits no catalogue star is no solution.
    if (result.proposals.size() < kFewestProposals) {
        result.proposals.clear();
        return result;
    }
    result.status = IdentifyStatus::Found;
    return result;
}

std::optional<double> SessionFieldWidth(const SessionData& session, int width_pixels) {
    if (session.Visible() < 3 || width_pixels <= 0) return std::nullopt;
    SessionData copy = session;
    Matrix pc = matrix(1, SessionData::NumConstants(1), 1, 2);
    float cen[3], south[3], west[3];
    try {
        copy.PlateConstants(pc, cen, south, west, 1);
    } catch (const NumericalError&) {
        return std::nullopt;
    }
    // Standard coordinates (radians on the tangent plane) per mm.
    const double per_mm = std::sqrt(std::fabs(pc[1][1] * pc[2][2] - pc[1][2] * pc[2][1]));
    const double width = per_mm * 0.012 * width_pixels / kDeg;
    if (!(width > 0) || !std::isfinite(width)) return std::nullopt;
    return width;
}

std::vector<StarProposal> NewProposals(const SessionData& session, const std::vector<StarProposal>& proposals) {
    std::vector<StarProposal> fresh;
    for (const StarProposal& p : proposals)
        if (session.ExistStar(p.star.name) == 0) fresh.push_back(p);
    return fresh;
}

void AddProposals(SessionData& session, const std::vector<StarProposal>& proposals) {
    for (std::size_t i = 0; i < proposals.size(); ++i)
        session.AddStar(Star(proposals[i].star, proposals[i].XMm(), proposals[i].YMm()),
                        i + 1 == proposals.size() ? 1 : 0);
}

std::vector<std::string> SolutionLines(const SkyPointing& s) {
    CNumericLocale c_numbers;
    char line[160];
    std::vector<std::string> lines;
    // Rounded before the split, so that no field shows 60.
    const long ra = std::lround(s.ra_h * 36000) % (24 * 36000);  // tenths of a second
    const long de = std::lround(std::fabs(s.de_deg) * 3600);      // arcseconds
    std::snprintf(line, sizeof line, "Centre: RA %02ldh %02ldm %02ld.%lds, DE %c%02ld\u00b0 %02ld' %02ld\"",
                  ra / 36000, ra / 600 % 60, ra / 10 % 60, ra % 10, s.de_deg < 0 ? '-' : '+', de / 3600,
                  de / 60 % 60, de % 60);
    lines.emplace_back(line);
    std::snprintf(line, sizeof line, "Scale: %.2f\"/pixel, field %.2f\u00b0 x %.2f\u00b0", s.arcsec_per_pixel,
                  s.width_deg, s.height_deg);
    lines.emplace_back(line);
    std::snprintf(line, sizeof line, "Rotation: up is %.1f\u00b0 east of north%s", s.rotation_deg,
                  s.mirrored ? " (mirrored)" : "");
    lines.emplace_back(line);
    return lines;
}

std::vector<std::string> ProposalFields(const StarProposal& p) {
    CNumericLocale c_numbers;
    char mag[16], x[16], y[16], d[16];
    std::snprintf(mag, sizeof mag, "%.2f", p.star.mag);
    std::snprintf(x, sizeof x, "%.1f", p.x);
    std::snprintf(y, sizeof y, "%.1f", p.y);
    std::snprintf(d, sizeof d, "%.2f", p.distance);
    std::string name(p.star.name);
    name.erase(0, name.find_first_not_of(' '));
    return {name, mag, x, y, d};
}
