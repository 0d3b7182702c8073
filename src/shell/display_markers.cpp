#include "shell/display_markers.h"

#include <cstring>

#include "session/session_data.h"

bool IsMaximumLabel(const char* label) {
    constexpr const char kMaximum[] = "Maximum";
    constexpr std::size_t n = sizeof kMaximum - 1;
    if (std::strncmp(label, kMaximum, n) != 0) return false;
    for (const char* p = label + n; *p; ++p) {
        if (*p != ' ') return false;
    }
    return true;
}

namespace {

EdgeRect CircleAt(ScreenPoint p) { return {p.x - 3, p.y - 3, p.x + 3, p.y + 3}; }

}  // namespace

std::vector<Marker> DisplayMarkers(const SessionData& session, const DisplayGeometry& g, int iselect) {
    std::vector<Marker> markers;
    auto add = [&](int index, float x, float y, Rgb fill) {
        const ScreenPoint p = g.MMtoDC(x, y);
        if (!g.MarkerVisible(p)) return;
        markers.push_back({index, CircleAt(p), index == iselect ? kSelectedColour : fill});
    };
    for (unsigned int i = 0; i < session.nstar; ++i) {
        const int n = static_cast<int>(i);
        add(n, session.fxstr(n), session.fystr(n), session.stars[i].hidden ? kHiddenStarColour : kStarColour);
    }
    for (unsigned int j = 0; j < session.nmet; ++j) {
        const int n = static_cast<int>(j);
        add(static_cast<int>(session.nstar + j), session.fxmet(n), session.fymet(n),
            IsMaximumLabel(session.meteors[j].label) ? kMaximumColour : kMeteorColour);
    }
    return markers;
}

CentreMark PlateCentreMark(const DisplayGeometry& g) {
    const ScreenPoint c = g.MMtoDC(static_cast<float>(g.ImageWidth() * 0.006),
                                   static_cast<float>(g.ImageHeight() * 0.006));
    return {{c.x - 1, c.y - 3, c.x + 2, c.y + 4},
            {c.x - 3, c.y - 1, c.x + 4, c.y + 2},
            {c.x, c.y - 2},
            {c.x, c.y + 3}};
}
