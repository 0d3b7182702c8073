#pragma once
// The reduction state of a session, kept so that an operation interrupted by
// a NumericalError can put the session back exactly as it was.

#include <vector>

#include "session/session_data.h"

class SessionSnapshot {
public:
    explicit SessionSnapshot(const SessionData& s);
    void Restore(SessionData& s) const;

private:
    float x0_, y0_, racen_, decen_, sd_, surround_;
    int order_;
    unsigned int nhide_;
    std::vector<int> hidden_;
};

// Runs f on the session; if f raises, the session's reduction state is
// restored before the exception travels on.
template <class F>
auto Transactional(SessionData& s, F&& f) -> decltype(f()) {
    const SessionSnapshot snapshot(s);
    try {
        return f();
    } catch (...) {
        snapshot.Restore(s);
        throw;
    }
}
