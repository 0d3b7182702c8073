#include "measure/magnifier_markers.h"

#include <cmath>

#include "session/session_data.h"
#include "shell/display_markers.h"

using namespace magnifier;

namespace {

constexpr double kNearReference = 0.024;  // two pixels, mm

bool OnControl(ControlPoint p) { return p.x >= 0 && p.y >= 0 && p.x < kControlSize && p.y < kControlSize; }

}  // namespace

MarkerReference WindowCentreReference(WindowOrigin o) {
    return {(o.x + kCentre) * 0.012, (o.y + kCentre) * 0.012, -1};
}

std::vector<MagnifierMarker> MagnifierMarkers(const SessionData& session, WindowOrigin o, bool enabled,
                                              const MarkerReference& reference) {
    std::vector<MagnifierMarker> out;
    // may_cross: stars and meteor points from the third on.
    auto add = [&](int index, float x, float y, MarkerFill fill, bool may_cross) {
        if (index == reference.skip) return;
        const ControlPoint p = MarkerPixel(o, x, y);
        if (!OnControl(p)) return;
        const double d = std::hypot(x - reference.x, y - reference.y);
        const bool disc = d > kNearReference || !enabled || !may_cross;
        out.push_back({disc ? MagnifierMarker::Shape::Disc : MagnifierMarker::Shape::Cross, p, fill});
    };
    for (unsigned int i = 0; i < session.nstar; ++i) {
        const int n = static_cast<int>(i);
        add(n, session.fxstr(n), session.fystr(n), session.stars[i].hidden ? kHiddenStarFill : kVisibleStarFill,
            true);
    }
    for (unsigned int j = 0; j < session.nmet; ++j) {
        const int n = static_cast<int>(j);
        add(static_cast<int>(session.nstar + j), session.fxmet(n), session.fymet(n),
            IsMaximumLabel(session.meteors[j].label) ? kMaximumFill : kMeteorFill, j >= 2);
    }
    return out;
}
