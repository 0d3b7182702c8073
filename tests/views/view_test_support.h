#pragma once
// Sessions placed in image pixels, for the tests of the views.
#include <cstdio>

#include "session/session_data.h"

namespace views_test {

// Plate mm of an image pixel (column, row) of an image h rows high.
inline float PlateX(float column) { return column * 0.012f; }
inline float PlateY(float row, int h) { return (static_cast<float>(h) - 1 - row) * 0.012f; }

inline void AddStarAt(SessionData& s, float column, float row, int h, bool hidden = false,
                      const char* name = "Star") {
    CatStar c;
    std::snprintf(c.name, sizeof c.name, "%s", name);
    Star st(c, PlateX(column), PlateY(row, h));
    st.hidden = hidden ? 1 : 0;
    s.stars.push_back(st);
    ++s.nstar;
    if (hidden) ++s.nhide;
}

inline void AddPointAt(SessionData& s, float column, float row, int h, const char* label = "") {
    Meteor m(PlateX(column), PlateY(row, h), static_cast<int>(s.nmet));
    std::snprintf(m.label, sizeof m.label, "%s", label);
    s.meteors.push_back(m);
    ++s.nmet;
}

}  // namespace views_test
