#include "session/session_snapshot.h"

SessionSnapshot::SessionSnapshot(const SessionData& s)
    : x0_(s.x0), y0_(s.y0), racen_(s.racen), decen_(s.decen), sd_(s.sd), surround_(s.surround),
      order_(s.order), nhide_(s.nhide) {
    hidden_.reserve(s.stars.size());
    for (const Star& star : s.stars) hidden_.push_back(star.hidden);
}

void SessionSnapshot::Restore(SessionData& s) const {
    s.x0 = x0_;
    s.y0 = y0_;
    s.racen = racen_;
    s.decen = decen_;
    s.sd = sd_;
    s.surround = surround_;
    s.order = order_;
    s.nhide = nhide_;
    for (size_t i = 0; i < hidden_.size() && i < s.stars.size(); ++i) s.stars[i].hidden = hidden_[i];
}
