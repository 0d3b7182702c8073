#pragma once
// Every field of a session and of the exposure record as "name=value" lines,
// floats in hexadecimal (%a), so that two sessions compare field by field
// and a difference names its field.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "session/session_data.h"

namespace shell_test {

inline std::string Hex(float v) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%a", static_cast<double>(v));
    return buf;
}

template <class Record>
void AddMeasurements(std::vector<std::string>& out, const std::string& name, const Record& r) {
    out.push_back(name + ".nrep=" + std::to_string(r.nrep) + " sizes=" + std::to_string(r.x.size()) + "," +
                  std::to_string(r.y.size()));
    for (std::size_t j = 0; j < r.x.size() && j < r.y.size(); ++j) {
        out.push_back(name + ".xy[" + std::to_string(j) + "]=" + Hex(r.x[j]) + " " + Hex(r.y[j]));
    }
}

inline std::vector<std::string> SessionFields(const SessionData& s, const DialogData& d) {
    std::vector<std::string> out;
    auto u = [&](const char* n, long long v) { out.push_back(std::string(n) + "=" + std::to_string(v)); };
    auto f = [&](const char* n, float v) { out.push_back(std::string(n) + "=" + Hex(v)); };
    u("nstar", s.nstar);
    u("nhide", s.nhide);
    u("nmet", s.nmet);
    u("nreplay", s.nreplay);
    u("mstart", s.mstart);
    u("order", s.order);
    f("surround", s.surround);
    f("sd", s.sd);
    f("x0", s.x0);
    f("y0", s.y0);
    f("racen", s.racen);
    f("decen", s.decen);
    for (std::size_t i = 0; i < s.stars.size(); ++i) {
        const Star& st = s.stars[i];
        const std::string n = "star[" + std::to_string(i) + "]";
        out.push_back(n + ".name=" + st.name + " hidden=" + std::to_string(st.hidden));
        out.push_back(n + ".cat=" + Hex(st.mag) + " " + Hex(st.ra) + " " + Hex(st.pmra) + " " + Hex(st.raobs) + " " +
                      Hex(st.de) + " " + Hex(st.pmde) + " " + Hex(st.deobs));
        AddMeasurements(out, n, st);
    }
    for (std::size_t i = 0; i < s.meteors.size(); ++i) {
        const Meteor& m = s.meteors[i];
        const std::string n = "meteor[" + std::to_string(i) + "]";
        out.push_back(n + ".label=" + m.label + " frame=" + std::to_string(m.frame));
        AddMeasurements(out, n, m);
    }
    auto t = [&](const char* n, const char* v) { out.push_back(std::string("dlgdat.") + n + "=[" + v + "]"); };
    t("station", d.station);
    t("image", d.image);
    t("meteor", d.meteor);
    t("date", (std::string(d.year) + "|" + d.month + "|" + d.day).c_str());
    t("time", (std::string(d.hour) + "|" + d.minute + "|" + d.second).c_str());
    t("reftime", (std::string(d.refhour) + "|" + d.refminute + "|" + d.refsecond).c_str());
    t("objective", d.objective);
    t("shutter", (std::string(d.shutter) + "|" + d.customshutter).c_str());
    u("dlgdat.astrometry", d.astrometry);
    u("dlgdat.status", d.status);
    return out;
}

}  // namespace shell_test
