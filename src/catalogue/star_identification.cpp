#include "catalogue/star_identification.h"

#include <cmath>
#include <cstdio>

#include "astro/astrofun.h"

namespace {

constexpr float kNoCandidate = 10.0f;  // worse than any magnitude or deviation considered

void IdentifiedBefore(CandidateChoice& c) {
    c.warning = "Star was identified before";
    c.warning_caption = "Star measurement";
}

// The reduction's standard deviation with the candidate added at (x, y);
// the candidate is dropped again before returning or throwing.
float TryCandidate(SessionData& session, const CatStar& candidate, float x, float y, bool first) {
    const unsigned n = session.nstar;
    const int order = session.order;
    session.AddStar(Star(candidate, x, y), 0);
    float sdv[3] = {0.0f, 0.0f, 0.0f};
    std::vector<float> dra(session.nstar);
    std::vector<float> dde(session.nstar);
    // Adding and dropping a star can move the order (an eleventh visible
    // star sets 3, a tenth sets 2); the trial must leave it as it was.
    auto restore = [&] {
        session.DropStar(static_cast<int>(n));
        session.order = order;
    };
    try {
        // The first run may move the plate centre to the image centre; the
        // run after it is the one that counts.
        if (first) session.CalculateOC(-1, sdv, dra.data(), dde.data());
        session.CalculateOC(-1, sdv, dra.data(), dde.data());
    } catch (...) {
        restore();
        throw;
    }
    restore();
    return sdv[0];
}

}  // namespace

std::string StDevColumnText(float s) {
    float v = decgh(s + 0.0001389);  // half an arcsecond
    if (v > 9999) v = 9999;
    const float minutes = std::floor(v * 0.01);
    float seconds = v - 100 * minutes - 0.5;
    if (seconds < 0) seconds = 0;
    char buf[32];
    std::snprintf(buf, sizeof buf, "\t%2.0f'%02.0f\"", minutes, seconds);
    return buf;
}

CandidateChoice ChooseByBrightness(const std::vector<CatStar>& candidates,
                                   const std::vector<bool>& known) {
    CandidateChoice out;
    int best = -1;
    int second = -1;
    float m1 = kNoCandidate;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (candidates[i].mag < m1 && !known[i]) {
            second = best;
            best = static_cast<int>(i);
            m1 = candidates[i].mag;
        }
    }
    out.selected = best;
    if (best == -1) {
        IdentifiedBefore(out);
    } else if (second != -1 && candidates[second].mag < candidates[best].mag + 1.0) {
        out.warning = "There is a second star that is\n almost as bright as the selected star";
        out.warning_caption = "Search stars";
    }
    return out;
}

CandidateChoice ChooseByAccuracy(const std::vector<CatStar>& candidates,
                                 const std::vector<float>& metrics, const std::vector<bool>& known) {
    CandidateChoice out;
    int best = -1;
    float m1 = kNoCandidate;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (metrics[i] < m1 && !known[i]) {
            best = static_cast<int>(i);
            m1 = metrics[i];
        }
    }
    out.selected = best;
    if (best == -1) {
        IdentifiedBefore(out);
        return out;
    }
    int second = -1;
    float m2 = kNoCandidate;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (candidates[i].mag < candidates[best].mag && metrics[i] < m2 && !known[i]) {
            second = static_cast<int>(i);
            m2 = metrics[i];
        }
    }
    if (second != -1 && metrics[second] < 1.3 * metrics[best]) {
        out.warning = "There is a brighter star that yields\n almost the same astrometric accuracy";
        out.warning_caption = "Search stars";
    }
    return out;
}

CandidateRanking RankCandidates(SessionData& session, const std::vector<CatStar>& candidates,
                                float x, float y) {
    CandidateRanking out;
    // Trying a candidate needs 4 visible stars with it; with fewer the
    // reduction yields nothing to rank by, so brightness decides.
    const bool by_accuracy = session.nstar >= 3 && session.Visible() >= 3;
    std::vector<bool> known;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        const CatStar& c = candidates[i];
        std::string text = c.MakeListBoxShortText();
        if (by_accuracy) {
            const float s = TryCandidate(session, c, x, y, i == 0);
            out.metrics.push_back(s);
            text += StDevColumnText(s);
        }
        known.push_back(session.ExistStar(c.name) != 0);
        out.lines.push_back(std::move(text));
    }
    session.CalculateOC();
    static_cast<CandidateChoice&>(out) = by_accuracy ? ChooseByAccuracy(candidates, out.metrics, known)
                                                     : ChooseByBrightness(candidates, known);
    return out;
}
