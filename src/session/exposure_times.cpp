// Decimal times and dates from the texts of the exposure record, and the
// catalogue positions brought to the observation date.

#include <cctype>
#include <cmath>
#include <cstdlib>

#include "astro/astrofun.h"
#include "platform/c_locale.h"
#include "session/proper_motion.h"
#include "session/session_data.h"

namespace {
double HoursOf(const char* h, const char* m, const char* s) {
    // An empty text reads as 0.
    return AtofC(h) + AtofC(m) / 60.0 + AtofC(s) / 3600.0;
}

// The year as an integer; 0 when the text holds no number at all, which the
// day count treats like the year 0 that does not exist.
int StrictYear(const char* text) {
    while (std::isspace(static_cast<unsigned char>(*text))) ++text;
    char* end = nullptr;
    const long y = std::strtol(text, &end, 10);
    if (end == text) return 0;
    while (std::isspace(static_cast<unsigned char>(*end))) ++end;
    return *end == '\0' ? static_cast<int>(y) : 0;
}
}  // namespace

double SessionData::ftmet() const { return HoursOf(dlgdat.hour, dlgdat.minute, dlgdat.second); }

double SessionData::ftref() const {
    return HoursOf(dlgdat.refhour, dlgdat.refminute, dlgdat.refsecond);
}

float SessionData::fdift() const {
    double d = ftmet() - ftref();
    if (d > 12.0) d -= 24.0;
    if (d < -12.0) d += 24.0;
    return static_cast<float>(d);
}

double SessionData::RefDay() const {
    const long jd = julianday(std::atoi(dlgdat.month), std::atoi(dlgdat.day), StrictYear(dlgdat.year));
    double day = jd + ftref() / 24.0;
    // The reference exposure may lie on the evening before or the morning
    // after the meteor's date.
    const double diff = ftmet() - ftref();
    if (diff < -12.0) day -= 1.0;
    if (diff >= 12.0) day += 1.0;
    return day;
}

double ProperMotionYears(const DialogData& exposure) {
    if (exposure.year[0] == '\0') return 0.0;
    return std::atoi(exposure.year) + (std::atoi(exposure.month) - 1) / 12.0 +
           (std::atoi(exposure.day) - 1) / 365.25 - 2000.0;
}

void SessionData::ProperMotion(int k) {
    const double t = ProperMotionYears(dlgdat);
    auto move = [t](Star& s) {
        s.raobs = static_cast<float>(s.ra + t * s.pmra / 3600.0);
        s.deobs = static_cast<float>(s.de + t * s.pmde / 3600.0);
    };
    if (k == -1) {
        for (Star& s : stars) move(s);
    } else if (k >= 0 && static_cast<unsigned>(k) < nstar) {
        move(stars[k]);
    }
}
