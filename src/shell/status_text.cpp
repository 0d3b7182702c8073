#include "shell/status_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "astro/astrofun.h"
#include "session/session_data.h"
#include "shell/pane_layout.h"
#include "shell/state_flags.h"

namespace {

template <typename... Args>
std::string Format(const char* format, Args... args) {
    char buf[64];
    std::snprintf(buf, sizeof buf, format, args...);
    return buf;
}

}  // namespace

std::string StDevText(float sd) {
    // Half an arcsecond (0.0001389 degrees) rounds to whole seconds.
    float v = decgh(static_cast<float>(sd + 0.0001389));
    if (v > 9999) v = 9999;
    const double m = std::floor(0.01 * v);
    double s = v - 100 * m - 0.5;
    if (s < 0) s = 0;
    return Format("st.dev %2.0f'%02.0f\"", m, s);
}

std::vector<StatusItem> StatusItems(const SessionData& session, bool imgloaded, int measmode, int width) {
    std::vector<StatusItem> items;
    if (!imgloaded) return items;
    const int k = StatusColumnStep(width);
    items.push_back({10, 2, Format("stars %2i", static_cast<int>(session.nstar - session.nhide)),
                     measmode == kStarMode});
    items.push_back({k + 80, 2, Format("breaks %2i", static_cast<int>(session.nmet)), measmode == kMeteorMode});
    items.push_back({2 * k + 160, 2, Format("replays%2i", static_cast<int>(session.nreplay)),
                     measmode == kReplayMode});
    items.push_back({3 * k + 240, 2, Format("order %1i", session.order), false});
    items.push_back({4 * k + 358, 2, StDevText(session.sd), false});
    if (session.nmet >= 1) {
        items.push_back({5 * k + 457, 2, Format("%3.0f%%", static_cast<double>(session.surround)), false});
    }
    return items;
}

ProgressPaint ProgressLayout(int width, int percent) {
    ProgressPaint p;
    p.bar_right = width * std::clamp(percent, 0, 100) / 100;
    p.text_right = width - 10;
    return p;
}
