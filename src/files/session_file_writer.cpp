// Writing the session file: SessionData::OutFilename and SessionData::Save.

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <optional>
#include <string>

#include "astro/astrofun.h"
#include "astro/numerical_error.h"
#include "files/atomic_file.h"
#include "files/log_file.h"
#include "files/session_file.h"
#include "image/meteor_image.h"
#include "platform/c_locale.h"
#include "platform/message_box.h"
#include "session/session_data.h"

namespace session_file {

const char* const kShutterList[9] = {"0.0",    "8.333",  "10.000", "16.667", "25.000",
                                     "30.000", "50.000", "75.000", "100.00"};

const char* TermMask(int order) {
    switch (order) {
        case 2: return "0000020000000000000000000";
        case 3: return "0000000000200000000000000";
        default: return "2000000000000000000000000";
    }
}

FrameList BuildFrameList(const std::vector<Meteor>& meteors) {
    FrameList f{};
    const int p = static_cast<int>(meteors.size());
    f[0] = p == 0 ? -1 : meteors[0].frame;
    int k = 0;
    int skipped = 0;
    for (int i = 1; i < p; ++i) {
        const int gap = (meteors[i].frame - meteors[0].frame) - i - skipped;
        if (gap > 0 && k < 14) {
            f[k + 1] = meteors[i - 1].frame;
            f[k + 2] = meteors[i].frame;
            k += 2;
            skipped += gap;
        }
    }
    f[k + 1] = p == 0 ? -1 : meteors[p - 1].frame;
    return f;
}

}  // namespace session_file

namespace {

using namespace session_file;

// Largest number of measurements of any record, hidden stars included.
int ReplayColumns(const SessionData& s) {
    int r = 0;
    for (const Star& st : s.stars) r = std::max(r, st.nrep + 1);
    for (const Meteor& m : s.meteors) r = std::max(r, m.nrep + 1);
    return r;
}

// Equivalent focal length (mm, referred to an image 23 mm high) of the plate
// scale at the origin; none when the stars give no plate solution or the
// image height is unknown.
std::optional<double> EquivalentFocalLength(SessionData& s) {
    if (s.Visible() < 3 || Mimg == nullptr || Mimg->height <= 0) return std::nullopt;
    float ra1, de1, ra2, de2;
    try {
        s.EstimateRADE(s.x0, s.y0, ra1, de1);
        s.EstimateRADE(s.x0 + 0.0707107f, s.y0 + 0.0707107f, ra2, de2);
    } catch (const NumericalError&) {
        return std::nullopt;
    }
    // An origin next to 0 h must not turn a step of a few seconds of time
    // into one of nearly 24 hours.
    double dra = ra2 - ra1;
    if (dra > 12) dra -= 24;
    if (dra < -12) dra += 24;
    const double a = dra * std::cos(s.decen) * 15;
    const double b = de2 - de1;
    const double d = std::sqrt(a * a + b * b);
    return (2300.0 / Mimg->height) * (1.0 / 12.0) / std::tan(d * M_PI / 180.0);
}

void WriteHeader(std::FILE* f, const DialogData& d) {
    std::fprintf(f, "%-18s%10s%5s%5s%4s.%4s.%4s.  %-8s %-8s\n", d.station, d.year, d.month, d.day,
                 d.hour, d.minute, d.second, d.image, d.meteor);
    std::fprintf(f, "%-56s\n", d.objective);
}

void WriteTurnerCounts(std::FILE* f, const SessionData& s, const DialogData& d) {
    const int visible = static_cast<int>(s.Visible());
    std::fprintf(f, "%5i%5i%5i%5i%5i%5i%5i\n", visible + static_cast<int>(s.nmet), visible, 0, 0, 0,
                 0, 1);
    std::fprintf(f, "%25s\n", TermMask(s.order));
    std::fprintf(f, "%3s.%4s.%4s. %5s  1.\n", d.refhour, d.refminute, d.refsecond, d.shutter);
}

void WriteRedskyCounts(std::FILE* f, const SessionData& s, const DialogData& d, int lens) {
    std::fprintf(f, "%5i%5i  354%5i\n", static_cast<int>(s.Visible()), static_cast<int>(s.nmet),
                 lens);
    std::fprintf(f, "%10.3f%10.3f  2000.0\n", s.x0, s.y0);
    std::fprintf(f, "%4s.%4s.%4s.  %8s  1.\n", d.refhour, d.refminute, d.refsecond, d.shutter);
}

void WriteMeasurements(std::FILE* f, const std::vector<float>& x, const std::vector<float>& y,
                       int nrep) {
    for (int j = 0; j <= nrep; ++j) std::fprintf(f, "%8.3f%8.3f", x[j], y[j]);
}

void WriteReplayHeading(std::FILE* f, int columns) {
    for (int j = 1; j <= columns; ++j) std::fprintf(f, "    x%1i      y%1i  ", j, j);
    std::fprintf(f, "\n");
}

void WriteReplayTable(std::FILE* f, const SessionData& s, int columns) {
    std::fprintf(f, " Star     ");
    WriteReplayHeading(f, columns);
    for (const Star& st : s.stars) {
        if (st.hidden) continue;
        std::fprintf(f, "\n%-10.10s", st.name);
        WriteMeasurements(f, st.x, st.y, st.nrep);
    }
    std::fprintf(f, "\n\n Break    ");
    WriteReplayHeading(f, columns);
    for (unsigned int i = 0; i < s.nmet; ++i) {
        std::fprintf(f, "\n  %3i     ", static_cast<int>(i + 1));
        WriteMeasurements(f, s.meteors[i].x, s.meteors[i].y, s.meteors[i].nrep);
    }
}

// The lens code of the Redsky count line for an equivalent focal length: a
// lens that is no fish-eye records its focal length, rounded.
int LensCode(double focal) {
    if (focal >= 20) return static_cast<int>(std::min(focal + 0.5, 99999.0));
    return focal >= 9 ? kLensBelow20mm : kLensBelow9mm;
}

void WriteSession(std::FILE* f, const SessionData& s, const DialogData& d, int lens) {
    const bool turner = d.astrometry != 0;
    WriteHeader(f, d);
    if (turner) {
        WriteTurnerCounts(f, s, d);
    } else {
        WriteRedskyCounts(f, s, d, lens);
    }

    FrameList frames{};
    if (Mimg != nullptr && Mimg->IsVideo()) frames = BuildFrameList(s.meteors);
    for (const int fr : frames) std::fprintf(f, "%4i.", fr);
    std::fprintf(f, "\n");

    for (unsigned int i = 0; i < s.nstar; ++i) {
        const Star& st = s.stars[i];
        if (st.hidden) continue;
        std::fprintf(f, "%-10.10s%-5.2f%10.1f%8.3f%#10.0f%9.2f%10.3f%10.3f\n", st.name, st.mag,
                     decgh(st.ra, 1), st.pmra, decgh(st.de, 0), st.pmde, s.fxstr(i), s.fystr(i));
    }
    for (unsigned int i = 0; i < s.nmet; ++i) {
        std::fprintf(f, "%-52s%10.3f%10.3f\n", s.meteors[i].label, s.fxmet(i), s.fymet(i));
    }

    if (turner) {
        std::fprintf(f, "%10.1f%15.1f%12.3f%10.3f\n\n\n",
                     decgh(static_cast<float>(s.racen * 12 / M_PI), 1),
                     decgh(static_cast<float>(s.decen * 180 / M_PI), 1), s.x0, s.y0);
    } else {
        std::fprintf(f, "\n\n\n");
    }

    const int columns = ReplayColumns(s);
    if (columns >= 2 && columns <= kMaxReplayColumns && (s.Visible() > 0 || s.nmet > 0)) {
        WriteReplayTable(f, s, columns);
    }
    std::fprintf(f, "%s", kTrailer);
}

}  // namespace

std::string session_file::SessionFileText(const SessionData& s) {
    CNumericLocale c_numbers;
    int lens = kLensBelow9mm;
    if (SessionData::dlgdat.astrometry == 0 && s.Visible() >= 3) {
        SessionData trial = s;
        if (const auto focal = EquivalentFocalLength(trial)) lens = LensCode(*focal);
    }
    char* buffer = nullptr;
    std::size_t size = 0;
    std::FILE* f = open_memstream(&buffer, &size);
    if (f == nullptr) throw std::bad_alloc();
    WriteSession(f, s, SessionData::dlgdat, lens);
    std::fclose(f);
    std::string text(buffer, size);
    std::free(buffer);
    return text;
}

char* SessionData::OutFilename(char* out) const {
    std::string station(dlgdat.station, strnlen(dlgdat.station, 3));
    for (char& c : station) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    std::snprintf(out, 13, "%s.%s", dlgdat.meteor, station.c_str());
    return out;
}

int SessionData::Save(const char* path, const char* programDir, MessageBoxService& mb) {
    CNumericLocale c_numbers;
    // Without a plate solution the scale cannot be checked; the count line
    // then carries the fish-eye code.
    int lens = kLensBelow9mm;
    if (dlgdat.astrometry == 0) {
        if (const auto focal = EquivalentFocalLength(*this)) {
            if (*focal >= 20 && mb.Show("Image is not a fish-eye image!\nContinue?", "Save session",
                                        MbButtons::YesNo, MbIcon::Question) != MbAnswer::Yes) {
                return 0;
            }
            lens = LensCode(*focal);
        }
    }

    AtomicFile file(path);
    if (!file.ok()) return 0;
    WriteSession(file.stream(), *this, dlgdat, lens);
    if (!file.Commit()) return 0;

    switch (LogMeteor(*this, programDir)) {
        case LogOutcome::Logged: return 1;
        case LogOutcome::NotLoggable: return 2;
        case LogOutcome::WriteFailed: break;  // errno says why
    }
    return 3;
}
