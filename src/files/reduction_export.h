#pragma once
// The reduction of a session as a report: the residual table, the meteor
// points on the sky, the great circle and the angular velocity. One model,
// written as the JSON object that `velkarn-cli reduce --json` prints and
// that the desktop program exports, and as CSV for a spreadsheet.
//
// Angles in the report are arcseconds for residuals and deviations, hours
// for right ascension of stars and points, degrees elsewhere; numbers that
// do not exist (residuals below four visible stars) are null in JSON and
// empty in CSV.
#include <optional>
#include <string>
#include <vector>

#include "files/log_file.h"
#include "session/reduction_report.h"

class SessionData;
struct Star;

struct ReportStarRow {
    // Name, magnitude, RA and DE as the analysis view shows them; the x and
    // y texts after them are not used by the report.
    std::vector<std::string> fields;
    const Star* star = nullptr;
    float x = 0, y = 0;  // mean measured position, mm
    StarReduction numbers;
};

struct ReductionExport {
    std::string file;  // the session file the report names; may be empty
    int kind = 0;      // ImageType bits of the image
    int width = 0, height = 0;
    std::optional<float> rms_ra, rms_de;  // degrees; none below four visible stars
    std::vector<ReportStarRow> stars;
    MeteorPath path;
    bool positions = false;   // path.ra and path.de hold every point
    bool trajectory = false;  // the great circle was fitted: log holds it
    LogEntry log;
};

// Reduces session s (ReduceStars, then the meteor's positions and path) into
// a report; its star rows point into s, which must outlive it. Raises
// NumericalError when the visible stars allow no plate solution.
ReductionExport MakeReductionExport(SessionData& s, std::string file, int kind, int width, int height);

// The report as one line of JSON (no newline), with the exposure record d.
std::string ReductionJson(const ReductionExport& r, const SessionData& s, const DialogData& d);
// The report as CSV (comma-separated, one header line per table): the star
// table, a blank line, the meteor point table, a blank line and the great
// circle with the angular velocity as quantity,value lines.
std::string ReductionCsv(const ReductionExport& r, const SessionData& s);

// Right ascension in hours brought into 0 .. 24.
double Hours24(double h);
