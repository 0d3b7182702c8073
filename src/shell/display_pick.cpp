#include "shell/display_pick.h"

#include <cmath>

#include "session/session_data.h"
#include "shell/display_markers.h"

NearestMeasurement FindNearestMeasurement(const SessionData& session, const DisplayGeometry& g, ImagePixel p) {
    return FindNearestMeasurementAt(session, g, ImagePoint{static_cast<float>(p.column), static_cast<float>(p.row)});
}

NearestMeasurement FindNearestMeasurementAt(const SessionData& session, const DisplayGeometry& g, ImagePoint p) {
    NearestMeasurement best;
    const float column = p.column;
    const float row = p.row;
    auto consider = [&](int index, float x, float y) {
        const float dx = column - g.PixelColumn(x);
        const float dy = row - g.PixelRow(y);
        const float d = std::sqrt(dx * dx + dy * dy);
        if (d < best.distance) {
            best.distance = d;
            best.index = index;
        }
    };
    for (unsigned int i = 0; i < session.nstar; ++i) {
        consider(static_cast<int>(i), session.fxstr(static_cast<int>(i)), session.fystr(static_cast<int>(i)));
    }
    for (unsigned int j = 0; j < session.nmet; ++j) {
        consider(static_cast<int>(session.nstar + j), session.fxmet(static_cast<int>(j)),
                 session.fymet(static_cast<int>(j)));
    }
    return best;
}

const char* PopupMenuName(PopupMenu menu) {
    static const char* const kNames[] = {"Meteor",        "Meteormmax",    "Meteorumax",
                                         "Displayhstar",  "Displayustar",  "Displayclient",
                                         "Analysishstar", "Analysisustar", "Analysisclient"};
    return kNames[static_cast<int>(menu)];
}

DisplayContext ChooseDisplayContext(const SessionData& session, const DisplayGeometry& g, int x, int y,
                                    bool image_is_video) {
    DisplayContext c;
    const NearestMeasurement near = FindNearestMeasurementAt(session, g, g.ClickToImage(x, y));
    const bool within = near.distance < g.PickThreshold();
    if (!within) {
        c.show_menu = session.nstar > 0;
        c.menu = PopupMenu::Displayclient;
        c.iselect = -1;
        return c;
    }
    c.show_menu = true;
    c.iselect = near.index;
    if (static_cast<unsigned int>(near.index) < session.nstar) {
        c.star_picked = true;
        c.menu = session.stars[near.index].hidden ? PopupMenu::Displayhstar : PopupMenu::Displayustar;
        return c;
    }
    const Meteor& m = session.meteors[near.index - session.nstar];
    if (image_is_video) {
        c.menu = PopupMenu::Meteor;
    } else {
        c.menu = IsMaximumLabel(m.label) ? PopupMenu::Meteorumax : PopupMenu::Meteormmax;
    }
    c.remove_switch = session.nstar == 0;
    return c;
}
