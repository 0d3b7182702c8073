#include "astro/astrofun.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "astro/numerical_error.h"

namespace {
constexpr double kHalfPi = 1.570796327;
constexpr double kPi = 3.141592654;
constexpr double kTwoPi = 6.283185308;
}  // namespace

void r_rade(const float r[3], float& ra, float& de) {
    if (std::fabs(r[2]) == 1.0f) {
        de = static_cast<float>(r[2] == 1.0f ? kHalfPi : -kHalfPi);
        ra = 0.0f;
        return;
    }
    // A z component that rounding pushed past 1 makes 1 - z^2 negative; the
    // clamp turns it into the pole (atan of an infinite ratio) instead of NaN.
    const double z = r[2];
    const double dec = std::atan(z / std::sqrt(std::max(0.0, 1.0 - z * z)));
    double alpha;
    if (r[0] == 0.0f) {
        const double help = std::clamp(r[1] / std::cos(dec), -1.0, 1.0);
        alpha = std::atan(help / std::sqrt(1.0 - help * help));
        if (r[1] < 0.0f) alpha += kTwoPi;
    } else {
        alpha = std::atan(static_cast<double>(r[1]) / r[0]);
        if (r[0] < 0.0f)
            alpha += kPi;
        else if (r[1] < 0.0f)
            alpha += kTwoPi;
    }
    // x = y = 0 with |z| < 1: the help ratio is 0/cos, so alpha is 0.
    if (std::isnan(alpha)) alpha = 0.0;
    ra = static_cast<float>(alpha);
    de = static_cast<float>(dec);
}

void rade_r(float ra, float de, float r[3]) {
    const double cd = std::cos(static_cast<double>(de));
    r[0] = static_cast<float>(std::cos(static_cast<double>(ra)) * cd);
    r[1] = static_cast<float>(std::sin(static_cast<double>(ra)) * cd);
    r[2] = static_cast<float>(std::sin(static_cast<double>(de)));
}

float in_p(const float vec1[3], const float vec2[3]) {
    return vec1[0] * vec2[0] + vec1[1] * vec2[1] + vec1[2] * vec2[2];
}

void out_p(const float vec1[3], const float vec2[3], float vecr[3]) {
    vecr[0] = vec1[1] * vec2[2] - vec1[2] * vec2[1];
    vecr[1] = vec1[2] * vec2[0] - vec1[0] * vec2[2];
    vecr[2] = vec1[0] * vec2[1] - vec1[1] * vec2[0];
}

long julianday(int mm, int id, int iyyy) {
    constexpr long kGregorianStart = 15 + 31L * (10 + 12L * 1582);  // 15 October 1582
    if (iyyy == 0) throw NumericalError("JULDAY: there is no year zero.");
    if (iyyy < 0) ++iyyy;
    long jy;
    long jm;
    if (mm > 2) {
        jy = iyyy;
        jm = mm + 1;
    } else {
        jy = iyyy - 1;
        jm = mm + 13;
    }
    long jul = static_cast<long>(std::floor(365.25 * jy) + std::floor(30.6001 * jm) + id + 1720995);
    if (id + 31L * (mm + 12L * iyyy) >= kGregorianStart) {
        const long ja = static_cast<long>(0.01 * jy);
        jul += 2 - ja + static_cast<long>(0.25 * ja);
    }
    return jul;
}

float ghdec(float x) {
    double v = x;
    double sign = 1.0;
    if (v < 0.0) {
        sign = -1.0;
        v = -v;
    }
    v += 0.05;
    const double gh = std::floor(v * 0.0001);
    const double m = std::floor((v - 10000.0 * gh) * 0.01);
    const double s = v - 10000.0 * gh - 100.0 * m;
    return static_cast<float>(sign * (gh + (60.0 * m + s - 0.05) / 3600.0));
}

bool RoundsToSixty(double seconds, int decimals) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, seconds);
    return std::strncmp(buf, "60", 2) == 0;
}

namespace {

// Carries seconds that reached 60 (when stored, decimals < 0, or when
// printed with that many decimals) into the minutes, and minutes into the
// degrees. A value that needs no carry is returned as it is.
float CarrySixty(float packed, int decimals) {
    const double a = std::fabs(static_cast<double>(packed));
    const double whole_minutes = std::floor(a / 100);
    const double seconds = a - 100 * whole_minutes;  // exact: packed is a float
    double units = std::floor(whole_minutes / 100);
    double minutes = whole_minutes - 100 * units;
    const bool carry = decimals < 0 ? seconds >= 60 : RoundsToSixty(seconds, decimals);
    if (!carry && minutes < 60) return packed;
    if (carry) minutes += 1;
    if (minutes >= 60) {
        minutes -= 60;
        units += 1;
    }
    const double sign = packed < 0 ? -1.0 : 1.0;
    return static_cast<float>(sign * (units * 10000 + minutes * 100 + (carry ? 0.0 : seconds)));
}

}  // namespace

float decgh(float x) {
    double v = x;
    double sign = 1.0;
    if (v < 0.0) {
        sign = -1.0;
        v = -v;
    }
    const double gh = std::floor(v);
    const double f = (v - gh) * 60.0;
    const double m = std::floor(f);
    const double s = (f - m) * 60.0;
    // Single precision can round 59.998 seconds up to 60.
    return CarrySixty(static_cast<float>(sign * (gh * 10000.0 + m * 100.0 + s)), -1);
}

float decgh(float x, int decimals) { return CarrySixty(decgh(x), decimals); }
