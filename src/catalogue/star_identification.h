#pragma once
// Ranking the candidates of a catalogue search for a measured star: what the
// star dialog's candidate list shows, which line it preselects and which
// warning it gives.
//
// With fewer than 3 stars in the session there is no plate solution and the
// brightest candidate not yet in the session is preselected. From 3 stars on,
// each candidate is tried in the reduction at the measured position and the
// one giving the smallest standard deviation is preselected; that deviation
// is shown in the "st.dev" column.

#include <string>
#include <vector>

#include "session/records.h"
#include "session/session_data.h"

// The preselected line and the warning to show about it (with the
// exclamation icon; empty text when none).
struct CandidateChoice {
    int selected = -1;  // -1: no line selected
    std::string warning;
    std::string warning_caption;
};

struct CandidateRanking : CandidateChoice {
    std::vector<std::string> lines;  // one per candidate, in catalogue order
    // Standard deviation (degrees) of the reduction with each candidate;
    // empty when the candidates were ranked by brightness.
    std::vector<float> metrics;
};

// Lists and ranks the candidates for a star measured at plate position
// (x, y) in mm. Trying a candidate adds it to the session without
// recomputation and drops it again; afterwards the reduction is recomputed
// for the session as it is. A NumericalError of the reduction reaches the
// caller with the session's stars and order as they were.
CandidateRanking RankCandidates(SessionData& session, const std::vector<CatStar>& candidates,
                                float x, float y);

// The two rankings; known[i] tells that candidate i's name is already in the
// session, and such a candidate is never preselected.
//
// By brightness: the brightest candidate. The second star is the one that
// was best just before it in catalogue order (not the second brightest); a
// second less than a magnitude fainter gives a warning.
CandidateChoice ChooseByBrightness(const std::vector<CatStar>& candidates,
                                   const std::vector<bool>& known);
// By accuracy: the smallest metric below 10 degrees. A brighter candidate
// whose metric is less than 1.3 times the chosen one gives a warning.
CandidateChoice ChooseByAccuracy(const std::vector<CatStar>& candidates,
                                 const std::vector<float>& metrics, const std::vector<bool>& known);

// The st.dev column of a candidate: a tab, then the standard deviation s
// (degrees) as arc minutes and seconds, at most 99'99".
std::string StDevColumnText(float s);
