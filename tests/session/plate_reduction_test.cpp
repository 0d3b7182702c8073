// The plate reduction on synthetic photographs whose sky positions are known.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "astro/numerical_error.h"
#include "shell/session_fields.h"
#include "sky_field.h"

namespace {
using sky::Field;
using sky::MakeStar;

// Offsets (hours, degrees) of a spread of stars round the tangent point.
const double kOffsets[][2] = {{-0.35, -4.0}, {0.30, -3.5}, {0.05, 3.8},  {-0.25, 2.5},
                              {0.38, 2.9},   {0.10, -1.0}, {-0.12, 0.4}, {0.22, 0.9},
                              {-0.40, 0.2},  {0.15, -3.0}, {-0.05, -2.2}, {0.33, -0.6}};

class PlateReduction : public ::testing::Test {
protected:
    void SetUp() override {
        Session = nullptr;
        SessionData::dlgdat = DialogData();  // no date: catalogue positions as they are
    }

    void AddField(SessionData& s, const Field& f, int n, double noise_mm = 0.0) {
        for (int i = 0; i < n; ++i) {
            const std::string name = "F" + std::to_string(i);
            // Alternating small offsets stand for measuring errors.
            const double e = noise_mm * ((i % 3) - 1);
            s.AddStar(MakeStar(name.c_str(), f.ra0_h + kOffsets[i][0], f.de0_deg + kOffsets[i][1], f, e, -e * 0.5), 0);
        }
    }

    sky::TestImage image_{1000, 700, ImageType::Still};  // 12 x 8.4 mm
    CurrentImage current_{&image_};
};

// Every field of the session and the exposure record, to see that a
// failure changed nothing.
std::vector<std::string> State(const SessionData& s) { return shell_test::SessionFields(s, SessionData::dlgdat); }
}  // namespace

TEST_F(PlateReduction, FourStarsLeaveOneDegreeOfFreedomThreeLeaveTheSessionAloneAndAWorseFitKeepsTheCentre) {
    Field f;
    SessionData s;
    AddField(s, f, 3, 0.003);
    float sdv[3] = {123.0f, 5.0f, 5.0f};
    std::vector<float> dra(4, 9.0f), dde(4, 9.0f);
    s.CalculateOC(-1, sdv, dra.data(), dde.data());
    EXPECT_EQ(std::tuple(sdv[0], sdv[1], dra[2], s.sd, s.racen), std::tuple(123.0f, 0.0f, 0.0f, 0.0f, -1.0f));

    // The fourth star gives one degree of freedom: a standard deviation
    // (its size is checked against the measuring error in ReductionNoise).
    s.AddStar(MakeStar("F3", f.ra0_h + kOffsets[3][0], f.de0_deg + kOffsets[3][1], f, 0.003, 0), 0);
    s.CalculateOC(-1, sdv, dra.data(), dde.data());
    EXPECT_GT(sdv[0], 0.0f);
    EXPECT_EQ(s.sd, sdv[0]);

    const float sd_before = s.sd;
    s.racen += 1e-4f;  // mark the centre: it must not move again
    const float marked = s.racen;
    s.AddStar(MakeStar("Off", f.ra0_h + 0.2, f.de0_deg - 2, f, 0.02, 0.0), 1);  // a worse star
    EXPECT_GT(s.sd, sd_before);
    EXPECT_EQ(s.racen, marked);
}

TEST_F(PlateReduction, ABadStarStandsOutInItsResiduals) {
    Field f;
    SessionData s;
    AddField(s, f, 8);
    s.MinOrder();  // chosen by the observer: the trials keep it
    s.stars[5].x[0] += 0.05f;  // about 3.4 arcminutes to the west
    float sdv[3];
    std::vector<float> dra(8), dde(8);
    s.CalculateOC(-1, sdv, dra.data(), dde.data());
    const auto farther = [](float a, float b) { return std::fabs(a) < std::fabs(b); };
    EXPECT_EQ(std::max_element(dra.begin(), dra.end(), farther) - dra.begin(), 5);
    // Leaving it out (trial toggle) gives a much better fit, and leaves the
    // session's standard deviation and the star itself as they were.
    const float sd = s.sd;
    float trial[3];
    s.CalculateOC(5, trial, dra.data(), dde.data());
    EXPECT_LT(trial[0] * 20, sdv[0]);
    EXPECT_EQ(std::tuple(s.sd, s.stars[5].hidden, s.nhide), std::tuple(sd, 0, 0u));
    EXPECT_EQ(dra[5], 0.0f);  // hidden during the trial: no residual
    s.Getsurround(5);
    EXPECT_EQ(s.order, 1);
}

TEST_F(PlateReduction, StarsMovedByTheirProperMotionToANewDateAreFittedAtTheirNewPositions) {
    Field f;
    auto residuals = [](SessionData& s) {
        float sdv[3];
        std::vector<float> dra(s.nstar), dde(s.nstar);
        s.CalculateOC(-1, sdv, dra.data(), dde.data());
        return dde;
    };
    // One session fitted before and after a date that moves a star with a
    // large proper motion.
    SessionData s;
    AddField(s, f, 8);
    Star& fast = s.stars[3];
    fast.pmde = 30.0f;  // arcseconds a year
    fast.pmra = 0.36f;  // seconds of time a year
    s.ProperMotion(-1);  // without a date: not moved
    EXPECT_EQ(fast.deobs, fast.de);
    EXPECT_LT(std::fabs(residuals(s)[3]) * 3600, 1.0);
    sky::SetDate("2020", "1", "1");  // 20 years after 2000.0
    s.ProperMotion(-1);
    EXPECT_FLOAT_EQ(fast.deobs, fast.de + 20 * 30.0f / 3600);
    EXPECT_FLOAT_EQ(fast.raobs, fast.ra + 20 * 0.36f / 3600);
    // The star stays where it was measured: its residual is now its motion.
    EXPECT_GT(std::fabs(residuals(s)[3]) * 3600, 20.0);
}

TEST_F(PlateReduction, SingularStarSetRaisesAndLeavesTheSessionAsItWas) {
    // n stars in a row on the plate and on the sky.
    auto add_line = [](SessionData& s, int n, double ra, double de, double dra, double dde, float x, float y,
                       float dx, float dy) {
        for (int i = 0; i < n; ++i) {
            CatStar c;
            copy_text(c.name, "L" + std::to_string(i));
            c.ra = static_cast<float>(ra + dra * i);
            c.de = static_cast<float>(de + dde * i);
            s.AddStar(Star(c, x + dx * i, y + dy * i), 0);
        }
    };
    SessionData s;
    // Four stars on one line of the plate, a fifth off it.
    add_line(s, 4, 3.0, 45.0, 0.05, 0.0, 1.0f, 3.0f, 2.0f, 0.0f);
    s.AddStar(MakeStar("Off", 3.1, 47.0, Field()), 0);
    const auto before = State(s);

    float sdv[3];
    std::vector<float> dra(5), dde(5);
    // Leaving out the fifth star leaves only the line.
    EXPECT_THAT([&] { s.CalculateOC(4, sdv, dra.data(), dde.data()); },
                testing::ThrowsMessage<NumericalError>(testing::StrEq("GAUSSJ: Singular Matrix-2")));
    EXPECT_EQ(State(s), before);

    s.fhide(4);
    const auto hidden = State(s);
    float ra, de, x, y;
    EXPECT_THROW(s.CalculateOC(), NumericalError);
    EXPECT_THROW(s.EstimateRADE(5.0f, 5.0f, ra, de), NumericalError);
    EXPECT_THROW(s.ShiftedPosition(0, 0.1f, x, y), NumericalError);
    EXPECT_EQ(State(s), hidden);

    // Nothing of the failure stays behind: the star off the line makes the
    // set solvable again.
    s.funhide(4);
    ASSERT_NO_THROW(s.CalculateOC());
    EXPECT_GT(s.sd, 0.0f);

    // On a slanted line the float positions are collinear only to rounding,
    // which leaves the normal matrix a tiny non-zero pivot.
    SessionData q;
    add_line(q, 5, 2.0, 30.0, 0.031, 0.47, 1.1f, 0.9f, 1.7f, 1.3f);
    const auto slanted = State(q);
    EXPECT_THROW(q.CalculateOC(), NumericalError);
    EXPECT_EQ(State(q), slanted);
}

TEST_F(PlateReduction, ShiftedPositionFollowsTheTurningSky) {
    Field f;
    f.ra0_h = 23.95;
    SessionData s;
    AddField(s, f, 6);
    for (Star& st : s.stars)
        if (st.ra >= 24.0f) st.ra -= 24.0f, st.raobs = st.ra;
    s.CalculateOC();
    float x, y;
    s.ShiftedPosition(2, 0.0f, x, y);
    EXPECT_LT(std::hypot(x - s.fxstr(2), y - s.fystr(2)), 0.001);
    // Star 4 lies past 0 h; 0.05 h later it stands where RA - 0.05 h was.
    const Star& st = s.stars[4];
    s.ShiftedPosition(4, 0.05f, x, y);
    float ex, ey;
    f.ToPlate(st.ra + 0.05 - (st.ra + 0.05 >= 24 ? 24 : 0), st.de, ex, ey);
    EXPECT_LT(std::hypot(x - ex, y - ey), 0.002);
}

TEST(ExposureTimes, DifferencesAcrossMidnightAndAYearThatIsNoNumberRaises) {
    SessionData s;
    sky::SetDate("1999", "8", "12");
    sky::SetTimes("0", "10", "", "23", "50", "");
    EXPECT_NEAR(s.fdift(), 1.0 / 3, 1e-6);
    EXPECT_NEAR(s.RefDay(), 2451403 + (23 + 50 / 60.0) / 24 - 1, 1e-9);

    sky::SetTimes("23", "50", "", "0", "10", "");
    EXPECT_NEAR(s.fdift(), -1.0 / 3, 1e-6);
    EXPECT_NEAR(s.RefDay(), 2451403 + (10 / 60.0) / 24 + 1, 1e-9);

    // A missing or non-numeric year raises.
    for (const char* year : {"", "0", "19x9", "abc"}) {
        sky::SetDate(year, "8", "12");
        EXPECT_THROW(s.RefDay(), NumericalError) << year;
    }
}
