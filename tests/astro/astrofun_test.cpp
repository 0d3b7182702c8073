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

// Julian day number by the integer algorithm of Fliegel and Van Flandern
// (Gregorian calendar) and its Julian-calendar counterpart: independent of
// the floating-point method under test.
long GregorianJdn(long y, long m, long d) {
    const long a = (14 - m) / 12;
    const long yy = y + 4800 - a;
    const long mm = m + 12 * a - 3;
    return d + (153 * mm + 2) / 5 + 365 * yy + yy / 4 - yy / 100 + yy / 400 - 32045;
}
long JulianCalendarJdn(long y, long m, long d) {
    const long a = (14 - m) / 12;
    const long yy = y + 4800 - a;
    const long mm = m + 12 * a - 3;
    return d + (153 * mm + 2) / 5 + 365 * yy + yy / 4 - 32083;
}
int DaysIn(int m, int y, bool gregorian) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (m != 2) return days[m - 1];
    const bool leap = gregorian ? (y % 4 == 0 && (y % 100 != 0 || y % 400 == 0)) : (y % 4 == 0);
    return leap ? 29 : 28;
}
}  // namespace

TEST(JulianDay, KnownDatesOnBothCalendars) {
    EXPECT_EQ(julianday(1, 1, 2000), 2451545);
    EXPECT_EQ(julianday(10, 15, 1582), 2299161);  // first Gregorian day
    EXPECT_EQ(julianday(10, 4, 1582), 2299160);   // last Julian day
    EXPECT_EQ(julianday(1, 1, -4713), 0);         // origin of the Julian day count
}

TEST(JulianDay, AgreesWithIntegerAlgorithmDayByDay) {
    // Every day of some Gregorian years, and of some Julian ones (astronomical
    // year numbering in the reference: 1 BC is year 0 there, so 1 BC runs on
    // into AD 1).
    for (int y : {1600, 1700, 1900, 1999, 2000, 2024, 2100}) {
        for (int m = 1; m <= 12; ++m)
            for (int d = 1; d <= DaysIn(m, y, true); ++d)
                ASSERT_EQ(julianday(m, d, y), GregorianJdn(y, m, d)) << y << "-" << m << "-" << d;
    }
    for (int y : {-100, -1, 1, 4, 1000, 1500, 1581}) {
        const int astronomical = y < 0 ? y + 1 : y;
        for (int m = 1; m <= 12; ++m)
            for (int d = 1; d <= DaysIn(m, astronomical, false); ++d)
                ASSERT_EQ(julianday(m, d, y), JulianCalendarJdn(astronomical, m, d)) << y << "-" << m << "-" << d;
    }
}

TEST(JulianDay, YearZeroRaisesInsteadOfEndingTheProgram) {
    try {
        julianday(1, 1, 0);
        FAIL() << "no exception";
    } catch (const NumericalError& e) {
        EXPECT_STREQ(e.what(), "JULDAY: there is no year zero.");
    }
}

TEST(Vectors, RoundTripOverTheWholeSphere) {
    for (int ide = -90; ide <= 90; ide += 5) {
        for (int ira = 0; ira < 360; ira += 7) {
            const float ra = static_cast<float>(ira * kPi / 180.0);
            const float de = static_cast<float>(ide * kPi / 180.0);
            float r[3];
            rade_r(ra, de, r);
            EXPECT_NEAR(r[0] * r[0] + r[1] * r[1] + r[2] * r[2], 1.0, 1e-6);
            float ra2, de2;
            r_rade(r, ra2, de2);
            ASSERT_FALSE(std::isnan(ra2));
            ASSERT_FALSE(std::isnan(de2));
            EXPECT_NEAR(de2, de, 2e-6) << ira << " " << ide;
            if (std::abs(ide) < 90) {
                EXPECT_GE(ra2, 0.0f);
                EXPECT_LT(ra2, 6.2831855f);
                double diff = std::fmod(ra2 - ra + 3 * kPi, 2 * kPi) - kPi;
                EXPECT_NEAR(diff, 0.0, 1e-5) << ira << " " << ide;
            }
        }
    }
}

TEST(Vectors, AxesAndPolesFollowTheRightAscensionConvention) {
    float r[3];
    rade_r(0.0f, 0.0f, r);
    EXPECT_FLOAT_EQ(r[0], 1.0f);
    EXPECT_FLOAT_EQ(r[1], 0.0f);
    EXPECT_FLOAT_EQ(r[2], 0.0f);

    float ra, de;
    const float north[3] = {0, 0, 1};
    r_rade(north, ra, de);
    EXPECT_EQ(ra, 0.0f);
    EXPECT_FLOAT_EQ(de, 1.570796327f);
    const float south[3] = {0, 0, -1};
    r_rade(south, ra, de);
    EXPECT_FLOAT_EQ(de, -1.570796327f);
    // RA grows from +x towards +y and is never negative.
    const float plus_y[3] = {0, 1, 0};
    r_rade(plus_y, ra, de);
    EXPECT_NEAR(ra, kPi / 2, 1e-6);
    const float minus_y[3] = {0, -1, 0};
    r_rade(minus_y, ra, de);
    EXPECT_NEAR(ra, 3 * kPi / 2, 1e-6);
}

TEST(Vectors, RoundingPastTheUnitSphereNeverGivesNaN) {
    // On the y axis with a length a hair over 1, and a z a hair over 1.
    float ra, de;
    const float long_y[3] = {0.0f, -1.0000001f, 0.0f};
    r_rade(long_y, ra, de);
    EXPECT_NEAR(ra, 3 * kPi / 2, 1e-6);
    EXPECT_NEAR(de, 0.0, 1e-6);
    const float long_y_tilted[3] = {0.0f, 0.9999999f, 0.0005f};
    r_rade(long_y_tilted, ra, de);
    EXPECT_NEAR(ra, kPi / 2, 1e-6);
    const float long_z[3] = {0.0f, 0.0001f, 1.0000001f};
    r_rade(long_z, ra, de);
    EXPECT_FALSE(std::isnan(ra));
    EXPECT_NEAR(de, kPi / 2, 1e-6);
}

TEST(Vectors, ScalarAndVectorProducts) {
    const float a[3] = {1, 2, 3}, b[3] = {-2, 0.5f, 4};
    float z[3];
    EXPECT_FLOAT_EQ(in_p(a, b), 11.0f);
    out_p(a, b, z);
    EXPECT_FLOAT_EQ(z[0], 6.5f);
    EXPECT_FLOAT_EQ(z[1], -10.0f);
    EXPECT_FLOAT_EQ(z[2], 4.5f);
}

TEST(Sexagesimal, PacksDegreesMinutesAndSecondsBothWays) {
    const struct {
        float decimal, packed;
    } cases[] = {{12.5f, 123000.0f}, {-0.25f, -1500.0f}, {12.58241667f, 123456.7f}, {-7.4072222f, -72426.0f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.decimal);
        EXPECT_NEAR(decgh(c.decimal), c.packed, 0.02);
        EXPECT_NEAR(ghdec(c.packed), c.decimal, 2e-6);
    }
}

TEST(Sexagesimal, RoundTripsIncludingNegativesAndSecondsNearSixty) {
    for (double v = -30.0; v <= 30.0; v += 0.0137) {
        const float packed = decgh(static_cast<float>(v));
        EXPECT_NEAR(ghdec(packed), v, 2e-5) << v;
    }
    // 59.99 seconds must not fall back to the minute below.
    EXPECT_NEAR(ghdec(125959.99f), 12.0 + 59 / 60.0 + 59.99 / 3600.0, 2e-6);
    EXPECT_NEAR(ghdec(-5959.95f), -(59 / 60.0 + 59.95 / 3600.0), 2e-6);
}

// The seconds printed with the given decimals, and the minutes, of a packed value.
static std::pair<double, double> PrintedSecondsAndMinutes(float packed, int decimals) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, std::fabs(static_cast<double>(packed)));
    const double shown = std::strtod(buf, nullptr);
    const double whole_minutes = std::floor(shown / 100);
    return {shown - 100 * whole_minutes, whole_minutes - 100 * std::floor(whole_minutes / 100)};
}

TEST(Sexagesimal, SecondsThatReachSixtyCarryIntoMinutesAndDegrees) {
    // 5.75 h as a float is 5.7499995 h: 5 44 59.998, which is 5 45 00.
    EXPECT_EQ(decgh(5.7499995f), 54500.0f);
    EXPECT_EQ(decgh(5.7499995f, 1), 54500.0f);
    // 5 44 59.96 shows as 59.96 to two decimals but as 5 45 00.0 to one.
    const float v = static_cast<float>(5 + 44 / 60.0 + 59.96 / 3600);
    EXPECT_NEAR(decgh(v), 54459.96f, 0.01f);
    EXPECT_EQ(decgh(v, 1), 54500.0f);
    // Whole seconds: 7 29 59.6 is 7 30 00; 23 59 59.7 is 24 00 00; signs stay.
    EXPECT_EQ(decgh(static_cast<float>(7 + 29 / 60.0 + 59.6 / 3600), 0), 73000.0f);
    EXPECT_EQ(decgh(static_cast<float>(23 + 59 / 60.0 + 59.7 / 3600), 0), 240000.0f);
    EXPECT_EQ(decgh(static_cast<float>(-(59 / 60.0 + 59.97 / 3600)), 1), -10000.0f);
    // Values that need no carry are packed exactly as before.
    EXPECT_EQ(decgh(12.58241667f, 1), decgh(12.58241667f));
    EXPECT_EQ(decgh(-7.4072222f, 0), decgh(-7.4072222f));
}

TEST(Sexagesimal, PrintedSecondsAndMinutesStayBelowSixty) {
    for (double v = -90.0; v <= 90.0; v += 0.00013) {
        for (int decimals : {0, 1}) {
            const float packed = decgh(static_cast<float>(v), decimals);
            const auto [seconds, minutes] = PrintedSecondsAndMinutes(packed, decimals);
            ASSERT_LT(seconds, 60.0) << v << " " << decimals;
            ASSERT_LT(minutes, 60.0) << v << " " << decimals;
            ASSERT_NEAR(ghdec(packed), v, 0.51 / 3600 + 2e-5) << v;
        }
        const auto [seconds, minutes] = PrintedSecondsAndMinutes(decgh(static_cast<float>(v)), 3);
        ASSERT_LT(seconds, 60.0) << v;
        ASSERT_LT(minutes, 60.0) << v;
    }
}
