#include "files/log_file.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "astro/astrofun.h"
#include "astro/numerical_error.h"
#include "files/options.h"
#include "image/meteor_image.h"
#include "platform/c_locale.h"
#include "session/session_data.h"

namespace {

// Sidereal hours per solar hour.
constexpr double kSiderealRate = 1.00263791;

bool AllFinite(const MeteorPath& p) {
    const float values[] = {p.w,        p.dw,        p.begin[0], p.begin[1],
                            p.begin[2], p.end[0],    p.end[1],   p.end[2]};
    for (const float v : values) {
        if (!std::isfinite(v)) return false;
    }
    return true;
}

}  // namespace

bool ComputeMeteorPositions(SessionData& s, MeteorPath& path) {
    if (s.Visible() < 3) return false;
    std::vector<double> ra_all, de_all;
    try {
        const float dift = s.fdift();
        for (unsigned int i = 0; i < s.nmet; ++i) {
            float ra, de;
            s.EstimateRADE(s.fxmet(i), s.fymet(i), ra, de);
            ra_all.push_back(ra + dift * kSiderealRate);
            de_all.push_back(de);
        }
    } catch (const NumericalError&) {
        return false;
    }
    path.ra = std::move(ra_all);
    path.de = std::move(de_all);
    return true;
}

bool ComputeMeteorPath(SessionData& s, MeteorPath& out) {
    if (s.nmet < 2) return false;
    MeteorPath p;
    if (!ComputeMeteorPositions(s, p)) return false;
    std::vector<float> X(s.nmet), Y(s.nmet), Z(s.nmet);
    for (unsigned int i = 0; i < s.nmet; ++i) {
        const double a = p.ra[i] * M_PI / 12;
        const double d = p.de[i] * M_PI / 180;
        X[i] = static_cast<float>(std::cos(a) * std::cos(d));
        Y[i] = static_cast<float>(std::sin(a) * std::cos(d));
        Z[i] = static_cast<float>(std::sin(d));
    }
    try {
        s.vlak(X.data(), Y.data(), Z.data(), p.pole, p.begin, p.end);
        s.hoeksnelheid(X.data(), Y.data(), Z.data(), p.pole, p.w, p.dw);
    } catch (const NumericalError&) {
        return false;
    }
    if (!AllFinite(p)) return false;
    out = std::move(p);
    return true;
}

LogEntry MakeLogEntry(const MeteorPath& p, float sd, float surround) {
    LogEntry e;
    e.w = p.w * kLogDegrees;
    e.dw = p.dw * kLogDegrees;
    float ra, de;
    r_rade(p.begin, ra, de);
    e.rab = ra * kLogDegrees;
    e.deb = de * kLogDegrees;
    r_rade(p.end, ra, de);
    e.rae = ra * kLogDegrees;
    e.dee = de * kLogDegrees;
    e.sig = sd;
    e.sur = surround;
    return e;
}

std::string LogHeaderLine() {
    return std::string("Meteor     year mo day H  M  S ") +
           "  mag   w    dw    RAB     DEB     RAE     DEE     sig sur " +
           " image      station            \n";
}

std::string LogRecordLine(const DialogData& d, const LogEntry& e, const char* station) {
    CNumericLocale c_numbers;
    char buf[512];
    // The times are texts: right-aligned in two columns, blank-padded.
    int n = std::snprintf(buf, sizeof buf, "\"%-8s\" %4s %2s %2s %2s %2s %2s ", d.meteor, d.year,
                          d.month, d.day, d.hour, d.minute, d.second);
    n += std::snprintf(buf + n, sizeof buf - n,
                       "%5.1f %5.2f %4.2f %7.3f %7.3f %7.3f %7.3f %5.3f %3.0f ", 0.0, e.w, e.dw,
                       e.rab, e.deb, e.rae, e.dee, e.sig, e.sur);
    std::snprintf(buf + n, sizeof buf - n, "\"%-8s\" \"%-18s\"\n", d.image, station);
    return buf;
}

std::filesystem::path LogFilePath(const std::filesystem::path& programDir, const DialogData& d,
                                  bool video) {
    std::string name = video ? "video" : "photo";
    const std::size_t len = std::strlen(d.year);
    if (len > 2) name.append(d.year + 2, len - 2 < 2 ? len - 2 : 2);
    name += ".log";
    return programDir / name;
}

bool LogMeteor(SessionData& s, const char* programDir) {
    if (s.nstar <= 2 || s.nmet <= 1) return false;
    MeteorPath path;
    if (!ComputeMeteorPath(s, path)) return false;

    const std::string record =
        LogRecordLine(SessionData::dlgdat, MakeLogEntry(path, s.sd, s.surround), opt.station);
    const auto file = LogFilePath(programDir ? programDir : "", SessionData::dlgdat,
                                  Mimg != nullptr && Mimg->IsVideo());
    // Only a log that does not exist yet gets the header; an existing one,
    // even one this program cannot read, is only ever appended to.
    std::error_code ec;
    const bool fresh = !std::filesystem::exists(file, ec) || std::filesystem::file_size(file, ec) == 0;
    const std::string text = fresh ? LogHeaderLine() + record : record;
    if (std::FILE* f = std::fopen(file.c_str(), "a")) {
        std::fputs(text.c_str(), f);
        std::fclose(f);
    }
    return true;
}
