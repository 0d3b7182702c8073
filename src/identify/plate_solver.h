#pragma once
// The blind plate solution of a star list by astrometry.net's solve-field.
//
// The solver runs as a separate program rather than as a library in our
// process: a fault in it, or a search that overruns the time limit, can then
// never take the program (and the observer's unsaved session) down with it;
// at the limit, or when Escape is pressed, the whole process group is
// killed at once. Its files live in a temporary directory that is removed
// whatever happens.
#include <optional>
#include <string>
#include <vector>

#include "identify/star_detection.h"
#include "identify/tan_wcs.h"

class ProgressService;

// Where the solver and its star index are.
struct SolverSetup {
    std::string program;                  // solve-field; empty: looked for on PATH
    std::vector<std::string> index_dirs;  // empty: the add_path lines of /etc/astrometry.cfg
    std::string temp_root;                // where its working directory is made; empty: the system's
};

struct SolveRequest {
    int width = 0;  // picture size, pixels
    int height = 0;
    std::vector<DetectedStar> stars;  // brightest first
    double width_low_deg = 1;         // field width range searched, degrees
    double width_high_deg = 40;
    double time_limit_s = 30;
};

enum class SolveOutcome {
    Solved,
    NotSolved,   // no solution in the time limit, or an unreadable solution
    Cancelled,   // Escape
    NoSolver,    // solve-field is not installed
    NoIndex,     // no index file of the solver is installed
};

struct SolveResult {
    SolveOutcome outcome = SolveOutcome::NotSolved;
    std::optional<TanWcs> wcs;
};

// The solver program to run, or empty when there is none.
std::string FindSolver(const SolverSetup& setup);
// Whether an index file (index-*.fits) stands in one of the index directories.
bool SolverIndexPresent(const SolverSetup& setup);

// Runs the solver on the star list. Progress runs from percent_from to
// percent_to with the time spent against the time limit, Escape is polled
// every few hundredths of a second.
SolveResult SolvePlate(const SolveRequest& request, const SolverSetup& setup, ProgressService& progress,
                       int percent_from, int percent_to);
