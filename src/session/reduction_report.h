#pragma once
// The reduction as the analysis view and `velkarn-cli reduce` report it: the
// residuals of every star for the session as it is, and for each star the
// standard deviation and surround the reduction would have with that star's
// hidden state reversed. Both print these numbers; neither computes them.
//
// Angles are degrees (catalogue minus computed for residuals). The packed
// forms are minutes and seconds of arc as one number (123 = 1' 23"),
// rounded to whole seconds.

#include <optional>
#include <string>
#include <vector>

class SessionData;

// R(v), an individual residual: 9999 at 1 degree or more either way.
double PackedResidual(float v);
// S(v), a standard deviation or root mean square residual: at most 9999.
double PackedDeviation(float v);

struct StarReduction {
    float dra = 0.0f;  // residual in RA on the sky; 0 for a hidden star or below 4 visible stars
    float dde = 0.0f;  // residual in DE
    // With this star's hidden state reversed: the standard deviation, none
    // when that computation cannot run (too few visible stars) or the star
    // set then has no solution; and the surround percentage.
    std::optional<float> sd_reversed;
    float surround_reversed = 0.0f;
};

struct ReductionReport {
    // The session reduction ran: at least 4 visible stars and a solution.
    bool solved = false;
    // Why the visible stars have no solution (the solver's text); empty
    // when they have one or are too few to try.
    std::string failure;
    float rms_ra = 0.0f;  // root mean square residuals; 0 unless solved
    float rms_de = 0.0f;
    std::vector<StarReduction> stars;  // one per star, in index order
};

// The reduction pass: stores Getsurround(-1) in the session's surround,
// runs CalculateOC(-1) (which updates sd and may move the plate centre to
// the image centre), then reverses each star's hidden state in turn. A star
// set without a solution never escapes as an exception: the session row or
// the star's row records it and the pass goes on. The session's stars, order
// and hidden states end as they began.
ReductionReport ReduceStars(SessionData& session);
