#include "session/reduction_report.h"

#include <vector>

#include "astro/astrofun.h"
#include "astro/numerical_error.h"
#include "session/session_data.h"

namespace {

// Half an arcsecond, so that the packed value rounds to whole seconds.
constexpr double kHalfSecond = 0.0001389;

}  // namespace

double PackedResidual(float v) {
    if (v <= -1 || v >= 1) return 9999;
    return decgh(static_cast<float>(v + kHalfSecond)) - 0.5;
}

double PackedDeviation(float v) {
    const double p = decgh(static_cast<float>(v + kHalfSecond)) - 0.5;
    return p >= 9999 ? 9999 : p;
}

ReductionReport ReduceStars(SessionData& s) {
    ReductionReport r;
    const std::size_t n = s.nstar + 1;
    std::vector<float> dra(n), dde(n);
    s.surround = s.Getsurround(-1);
    // sdv[0] keeps its -1 when too few stars are visible for the reduction.
    float sdv[3] = {-1, 0, 0};
    try {
        s.CalculateOC(-1, sdv, dra.data(), dde.data());
    } catch (const NumericalError& e) {
        r.failure = e.what();
        sdv[0] = -1;
    }
    r.solved = sdv[0] >= 0;
    if (r.solved) {
        r.rms_ra = sdv[1];
        r.rms_de = sdv[2];
    }
    r.stars.resize(s.nstar);
    std::vector<float> rdra(n), rdde(n);
    for (unsigned int i = 0; i < s.nstar; ++i) {
        StarReduction& row = r.stars[i];
        if (r.solved) {
            row.dra = dra[i];
            row.dde = dde[i];
        }
        float rev[3] = {-1, 0, 0};
        try {
            s.CalculateOC(static_cast<int>(i), rev, rdra.data(), rdde.data());
            if (rev[0] >= 0) row.sd_reversed = rev[0];
        } catch (const NumericalError&) {
        }
        row.surround_reversed = s.Getsurround(static_cast<int>(i));
    }
    return r;
}
