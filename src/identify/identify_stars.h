#pragma once
// Stars identified by themselves: the star images of a picture are found,
// the picture is plate-solved from them (or its FITS header's WCS is taken
// as the solution), every catalogue star down to the limiting magnitude is
// predicted on the picture, and where a star image stands within a few
// pixels of a prediction its centroid is measured. The result is a list of
// proposals that the observer accepts into the session as if each star had
// been measured in the star dialog.
#include <optional>
#include <string>
#include <vector>

#include "catalogue/sky_cat.h"
#include "identify/plate_solver.h"
#include "identify/tan_wcs.h"
#include "measure/star_centroid.h"
#include "session/records.h"

class ProgressService;
class SessionData;

// Where the picture points, at its centre.
struct SkyPointing {
    double ra_h = 0;              // hours
    double de_deg = 0;            // degrees
    double arcsec_per_pixel = 0;  // scale
    double rotation_deg = 0;      // the picture's "up", degrees east of north, 0..360
    bool mirrored = false;        // east to the right of north-up
    double width_deg = 0;         // field width and height, degrees
    double height_deg = 0;
};

struct StarProposal {
    CatStar star;               // the catalogue star (its observation-date position unset)
    double x = 0, y = 0;        // measured centroid, pixels from the lower-left corner
    double distance = 0;        // from the predicted position, pixels
    // The plate position (mm) the star enters the session with.
    float XMm() const { return static_cast<float>(x * 0.012); }
    float YMm() const { return static_cast<float>(y * 0.012); }
};

enum class IdentifyStatus {
    Found,
    NoSolution,   // no solution in the time limit, too few stars, blank picture
    Cancelled,    // Escape
    NoSolver,     // solve-field missing
    NoIndex,      // the solver's star index missing
    NoCatalogue,  // skycat.dat cannot be read
};

struct IdentifyResult {
    IdentifyStatus status = IdentifyStatus::NoSolution;
    bool from_header = false;  // the FITS header's WCS, not the solver
    SkyPointing solution;
    std::vector<StarProposal> proposals;  // brightest first
    int detected = 0;                     // star images found on the picture
};

struct IdentifyRequest {
    CatalogueFiles files;
    float limit = 8.0f;                  // limiting magnitude
    double time_limit_s = 30;            // the solver's
    std::optional<double> width_deg;     // field width known beforehand
    std::optional<TanWcs> header_wcs;    // identify from this WCS without the solver
    SolverSetup solver;
};

// The caption of every message of the command, and its texts.
inline constexpr const char* kIdentifyCaption = "Identify stars";
inline constexpr const char* kNoPlateSolution = "No plate solution found";
std::string IdentifyStatusText(IdentifyStatus status);

IdentifyResult IdentifyStars(const GreyView& picture, const IdentifyRequest& request, ProgressService& progress);

// The proposals on a picture whose WCS is known.
std::vector<StarProposal> ProposeStars(const GreyView& picture, const TanWcs& wcs, const CatalogueFiles& files,
                                       float limit, int& catalogue_status);
SkyPointing SolutionOf(const TanWcs& wcs, int width, int height);

// The field width (degrees) of a picture of width_pixels that the session's
// reduction implies: from its linear plate constants once 3 stars are
// visible; nothing before, or when the stars have no solution. The session
// is not changed.
std::optional<double> SessionFieldWidth(const SessionData& session, int width_pixels);

// The proposals not yet in the session (by name).
std::vector<StarProposal> NewProposals(const SessionData& session, const std::vector<StarProposal>& proposals);

// Adds each proposal as a star measured once, then recomputes the reduction
// once (as the last AddStar does). May raise NumericalError from the
// recomputation; the stars stay added.
void AddProposals(SessionData& session, const std::vector<StarProposal>& proposals);

// The texts both the command line and the window show.
std::vector<std::string> SolutionLines(const SkyPointing& s);
// name, magnitude, x, y, distance
std::vector<std::string> ProposalFields(const StarProposal& p);
