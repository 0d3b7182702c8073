// The astronomical functions against independently computed references.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <tuple>
#include <utility>

#include "astro/astrofun.h"
#include "astro/numerical_error.h"

namespace {
constexpr double kPi = 3.14159265358979323846;
}  // namespace

// Julian day numbers by the integer algorithm of Fliegel and Van Flandern,
// independent of the floating-point method under test: leap days of both
// calendars, a century that is no Gregorian leap year, the calendar change
// of 1582, the step from 1 BC to AD 1 and the origin of the count.
TEST(JulianDay, AgreesWithIntegerAlgorithmAcrossLeapDaysCalendarsAndErasAndYearZeroRaises) {
    for (const auto& [y, m, d, jdn] :
         {std::tuple{2000, 1, 1, 2451545L}, {2000, 2, 29, 2451604L}, {2000, 3, 1, 2451605L}, {1900, 2, 28, 2415079L},
          {1900, 3, 1, 2415080L}, {2100, 12, 31, 2488434L}, {1582, 10, 15, 2299161L}, {1582, 10, 4, 2299160L},
          {1500, 2, 29, 2268992L}, {1, 1, 1, 1721424L}, {-1, 12, 31, 1721423L}, {-101, 2, 29, 1684592L}, {-4713, 1, 1, 0L}})
        EXPECT_EQ(julianday(m, d, y), jdn) << y << "-" << m << "-" << d;
    EXPECT_THAT([] { julianday(1, 1, 0); }, testing::ThrowsMessage<NumericalError>(testing::StrEq("JULDAY: there is no year zero.")));
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
    for (const auto& [x, y, z, ra0, de0] :
         {std::tuple{0.0f, 0.0f, -1.0f, 0.0, -kPi / 2}, {0.0f, -1.0f, 0.0f, 3 * kPi / 2, 0.0}, {0.0f, -1.0000001f, 0.0f, 3 * kPi / 2, 0.0},
          {0.0f, 0.9999999f, 0.0005f, kPi / 2, 0.0005}, {0.0f, 0.0001f, 1.0000001f, -1.0, kPi / 2}}) {
        const float v[3] = {x, y, z};
        float ra, de;
        r_rade(v, ra, de);
        if (ra0 >= 0) {
            EXPECT_NEAR(ra, ra0, 1e-6) << y;
        }
        EXPECT_NEAR(de, de0, 1e-6) << y;
    }
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

// The seconds and minutes as printed with the given decimals stay below 60.
TEST(Sexagesimal, RoundTripsAndPrintedSecondsAndMinutesStayBelowSixty) {
    for (double v = -90.0; v <= 90.0; v += 0.00013) {
        for (int decimals : {0, 1, 3}) {
            const float packed = decimals == 3 ? decgh(static_cast<float>(v)) : decgh(static_cast<float>(v), decimals);
            char buf[32];
            std::snprintf(buf, sizeof buf, "%.*f", decimals, std::fabs(static_cast<double>(packed)));
            const double shown = std::strtod(buf, nullptr);
            const double minutes = std::floor(shown / 100);
            ASSERT_LT(shown - 100 * minutes, 60.0) << v << " " << decimals;
            ASSERT_LT(minutes - 100 * std::floor(minutes / 100), 60.0) << v << " " << decimals;
            ASSERT_NEAR(ghdec(packed), v, decimals == 3 ? 2e-5 : 0.51 / 3600 + 2e-5) << v;
        }
    }
}
