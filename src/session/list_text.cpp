#include <cmath>
#include <cstdio>

#include "astro/astrofun.h"
#include "platform/c_locale.h"
#include "session/records.h"

int SelectedStar::iselect = -1;

std::string CatStar::MakeListBoxText() const {
    CNumericLocale c_numbers;
    double h = std::floor(ra);
    const double f = (ra - h) * 60.0;
    double m = std::floor(f);
    double s = (f - m) * 60.0;
    // Seconds that show as 60.0 carry into the minute, and on: 5 45 00.0,
    // never 5 44 60.0; a right ascension that reaches 24 h is 0 h.
    if (RoundsToSixty(s, 1)) {
        s = 0.0;
        if (++m >= 60.0) {
            m = 0.0;
            if (++h >= 24.0) h = 0.0;
        }
    }
    double sign = 1.0;
    double d = de;
    if (de < 0.0f) {
        sign = -1.0;
        d = -d;
    }
    double dg = std::floor(d);
    const double g = (d - dg) * 60.0;
    double am = std::floor(g);
    double as = (g - am) * 60.0;
    if (RoundsToSixty(as, 0)) {
        as = 0.0;
        if (++am >= 60.0) {
            am = 0.0;
            ++dg;
        }
    }
    // sign * dg keeps the sign of a declination between -1 and 0: "-0".
    char buf[96];
    std::snprintf(buf, sizeof buf, "%9s\t%3.1f\t%2.0f %02.0f %04.1f\t%3.0f %02.0f %02.0f", name,
                  static_cast<double>(mag), h, m, s, sign * dg, am, as);
    return buf;
}

std::string CatStar::MakeListBoxShortText() const {
    CNumericLocale c_numbers;
    // The offsets round to the last digit shown: about half a tenth of a
    // minute of time, and half an arcminute.
    const double r = ra + 0.0008333;
    double h = std::floor(r);
    double m = std::floor((r - h) * 600.0) * 0.1;
    if (m < 0.0) m = 0.0;
    if (h > 23.0) h = 0.0;
    double sign = 1.0;
    double d = de;
    if (de < 0.0f) {
        sign = -1.0;
        d = -d;
    }
    d += 0.0083333;
    const double dg = std::floor(d);
    double am = std::floor((d - dg) * 60.0);
    if (am < 0.0) am = 0.0;
    char buf[80];
    std::snprintf(buf, sizeof buf, "%9s\t%3.1f\t%2.0f %04.1f\t%3.0f %02.0f", name,
                  static_cast<double>(mag), h, m, sign * dg, am);
    return buf;
}
