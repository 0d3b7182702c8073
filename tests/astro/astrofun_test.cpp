// The astronomical functions against independently computed references.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "astro/astrofun.h"
#include "astro/numerical_error.h"

namespace {
constexpr double kPi = 3.14159265358979323846;

// Julian day number by the integer algorithm of Fliegel and Van Flandern, in
// the Gregorian calendar or its Julian counterpart: independent of the
// floating-point method under test.
long ReferenceJdn(long y, long m, long d, bool gregorian) {
    const long a = (14 - m) / 12;
    const long yy = y + 4800 - a;
    const long mm = m + 12 * a - 3;
    return d + (153 * mm + 2) / 5 + 365 * yy + yy / 4 + (gregorian ? -yy / 100 + yy / 400 - 32045 : -32083);
}
int DaysIn(int m, int y, bool gregorian) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = y % 4 == 0 && (!gregorian || y % 100 != 0 || y % 400 == 0);
    return m == 2 && leap ? 29 : days[m - 1];
}
}  // namespace

TEST(JulianDay, AgreesWithIntegerAlgorithmDayByDayAndYearZeroRaises) {
    // Gregorian years, then Julian ones (astronomical year numbering in the
    // reference: 1 BC is year 0 there, so 1 BC runs on into AD 1).
    for (int y : {1600, 1700, 1900, 1999, 2000, 2024, 2100, -100, -1, 1, 4, 1000, 1500, 1581}) {
        const bool gregorian = y >= 1600;
        const int astronomical = y < 0 ? y + 1 : y;
        for (int m = 1; m <= 12; ++m)
            for (int d = 1; d <= DaysIn(m, astronomical, gregorian); ++d)
                ASSERT_EQ(julianday(m, d, y), ReferenceJdn(astronomical, m, d, gregorian)) << y << "-" << m << "-" << d;
    }
    EXPECT_EQ(julianday(10, 15, 1582), 2299161);  // first Gregorian day
    EXPECT_EQ(julianday(10, 4, 1582), 2299160);   // last Julian day
    EXPECT_EQ(julianday(1, 1, -4713), 0);         // origin of the Julian day count
    try {
        julianday(1, 1, 0);
        FAIL() << "no exception";
    } catch (const NumericalError& e) {
        EXPECT_STREQ(e.what(), "JULDAY: there is no year zero.");
    }
}

TEST(Vectors, RoundTripOverTheWholeSphereAndLengthsRoundedPastOneGiveNoNaN) {
    for (int ide = -90; ide <= 90; ide += 5) {
        for (int ira = 0; ira < 360; ira += 7) {
            const float ra = static_cast<float>(ira * kPi / 180.0);
            const float de = static_cast<float>(ide * kPi / 180.0);
            float r[3], ra2, de2;
            rade_r(ra, de, r);
            EXPECT_NEAR(r[0] * r[0] + r[1] * r[1] + r[2] * r[2], 1.0, 1e-6);
            r_rade(r, ra2, de2);
            EXPECT_NEAR(de2, de, 2e-6) << ira << " " << ide;
            if (std::abs(ide) < 90) {
                EXPECT_GE(ra2, 0.0f);
                EXPECT_LT(ra2, 6.2831855f);
                EXPECT_NEAR(std::fmod(ra2 - ra + 3 * kPi, 2 * kPi) - kPi, 0.0, 1e-5) << ira << " " << ide;
            }
        }
    }
    // RA grows from +x towards +y and is never negative (-1: any RA).
    const struct {
        float v[3];
        double ra, de;
    } cases[] = {{{0, 0, -1}, 0, -kPi / 2},
                 {{0, -1, 0}, 3 * kPi / 2, 0},
                 {{0.0f, -1.0000001f, 0.0f}, 3 * kPi / 2, 0},
                 {{0.0f, 0.9999999f, 0.0005f}, kPi / 2, 0.0005},
                 {{0.0f, 0.0001f, 1.0000001f}, -1, kPi / 2}};
    for (const auto& c : cases) {
        float ra, de;
        r_rade(c.v, ra, de);
        if (c.ra >= 0) {
            EXPECT_NEAR(ra, c.ra, 1e-6) << c.v[1];
        }
        EXPECT_NEAR(de, c.de, 1e-6) << c.v[1];
    }
}

// The seconds printed with the given decimals, and the minutes, of a packed value.
static std::pair<double, double> PrintedSecondsAndMinutes(float packed, int decimals) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, std::fabs(static_cast<double>(packed)));
    const double shown = std::strtod(buf, nullptr);
    const double whole_minutes = std::floor(shown / 100);
    return {shown - 100 * whole_minutes, whole_minutes - 100 * std::floor(whole_minutes / 100)};
}

TEST(Sexagesimal, PacksBothWaysAndSecondsThatReachSixtyCarryIntoMinutesAndDegrees) {
    for (const auto& [decimal, packed] : {std::pair{12.5f, 123000.0f}, {-0.25f, -1500.0f}, {12.58241667f, 123456.7f}}) {
        EXPECT_NEAR(decgh(decimal), packed, 0.02);
        EXPECT_NEAR(ghdec(packed), decimal, 2e-6);
    }
    // 5.75 h as a float is 5.7499995 h: 5 44 59.998, which is 5 45 00.
    EXPECT_EQ(decgh(5.7499995f), 54500.0f);
    // 5 44 59.96 shows as 59.96 to two decimals but as 5 45 00.0 to one.
    const float v = static_cast<float>(5 + 44 / 60.0 + 59.96 / 3600);
    EXPECT_NEAR(decgh(v), 54459.96f, 0.01f);
    EXPECT_EQ(decgh(v, 1), 54500.0f);
    // Whole seconds: 23 59 59.7 is 24 00 00; signs stay.
    EXPECT_EQ(decgh(static_cast<float>(23 + 59 / 60.0 + 59.7 / 3600), 0), 240000.0f);
    EXPECT_EQ(decgh(static_cast<float>(-(59 / 60.0 + 59.97 / 3600)), 1), -10000.0f);
    // Values that need no carry are packed exactly as before.
    EXPECT_EQ(decgh(-7.4072222f, 0), decgh(-7.4072222f));
}

TEST(Sexagesimal, RoundTripsAndPrintedSecondsAndMinutesStayBelowSixty) {
    for (double v = -90.0; v <= 90.0; v += 0.00013) {
        for (int decimals : {0, 1, 3}) {
            const float packed = decimals == 3 ? decgh(static_cast<float>(v)) : decgh(static_cast<float>(v), decimals);
            const auto [seconds, minutes] = PrintedSecondsAndMinutes(packed, decimals);
            ASSERT_LT(seconds, 60.0) << v << " " << decimals;
            ASSERT_LT(minutes, 60.0) << v << " " << decimals;
            ASSERT_NEAR(ghdec(packed), v, decimals == 3 ? 2e-5 : 0.51 / 3600 + 2e-5) << v;
        }
    }
}
