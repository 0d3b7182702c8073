// The meteor's great circle, its angular velocity and the next-point prediction.

#include <gtest/gtest.h>

#include "astro/astrofun.h"
#include "astro/numerical_error.h"
#include "sky_field.h"

namespace {
constexpr double kDeg = sky::kPi / 180;

// Unit vectors along the great circle with the given pole, starting at the
// direction `start` (perpendicular to the pole), at the given arcs (degrees).
struct Trail {
    std::vector<float> X, Y, Z;
    Trail(const double pole[3], const double start_in[3], const std::vector<double>& arcs_deg) {
        const double len = std::sqrt(start_in[0] * start_in[0] + start_in[1] * start_in[1] + start_in[2] * start_in[2]);
        const double start[3] = {start_in[0] / len, start_in[1] / len, start_in[2] / len};
        const double q[3] = {pole[1] * start[2] - pole[2] * start[1], pole[2] * start[0] - pole[0] * start[2],
                             pole[0] * start[1] - pole[1] * start[0]};
        for (double a : arcs_deg) {
            const double c = std::cos(a * kDeg), s = std::sin(a * kDeg);
            X.push_back(static_cast<float>(c * start[0] + s * q[0]));
            Y.push_back(static_cast<float>(c * start[1] + s * q[1]));
            Z.push_back(static_cast<float>(c * start[2] + s * q[2]));
        }
    }
};

const double kPole[3] = {0.48, -0.6, 0.64};  // unit length
const double kStart[3] = {0.8, 0.64, 0.0};   // perpendicular to kPole

void AddPoints(SessionData& s, const std::vector<int>& frames) {
    for (int f : frames) s.AddMetPnt(Meteor(1.0f, 1.0f, f));
}

}  // namespace

TEST(GreatCircle, RecoversThePoleProjectsTheEndsAndRaisesOnIdenticalDirections) {
    SessionData s;
    AddPoints(s, {0, 1, 2, 3, 4, 5});
    float pole[3], begin[3], end[3];
    const Trail exact(kPole, kStart, {0, 2, 4, 6, 8, 10});
    s.vlak(exact.X.data(), exact.Y.data(), exact.Z.data(), pole, begin, end);
    const double sign = pole[2] > 0 ? 1 : -1;  // the sign is not tied to the motion
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(pole[i], sign * kPole[i], 2e-5);
    EXPECT_NEAR(begin[1], exact.Y[0], 2e-5);
    EXPECT_NEAR(end[2], exact.Z[5], 2e-5);

    // A first point off the circle is projected onto it.
    Trail lifted = exact;
    lifted.Z[0] += 0.002f;
    s.vlak(lifted.X.data(), lifted.Y.data(), lifted.Z.data(), pole, begin, end);
    EXPECT_NEAR(in_p(begin, pole), 0.0, 1e-6);
    EXPECT_NEAR(in_p(end, pole), 0.0, 1e-6);
    EXPECT_NEAR(begin[0], exact.X[0], 3e-3);

    // Raised instead of ending the program.
    const Trail same(kPole, kStart, {3, 3, 3, 3, 3, 3});
    EXPECT_THROW(s.vlak(same.X.data(), same.Y.data(), same.Z.data(), pole, begin, end), NumericalError);
}

// Each test's new session resets the exposure record.
class AngularVelocity : public ::testing::Test {
protected:
    float w_ = -1, dw_ = -1;
    void Run(SessionData& s, const Trail& t) {
        const float pole[3] = {float(kPole[0]), float(kPole[1]), float(kPole[2])};
        s.hoeksnelheid(t.X.data(), t.Y.data(), t.Z.data(), pole, w_, dw_);
    }
};

TEST_F(AngularVelocity, ShortVideoUsesEveryPointLongVideoDropsTheEnds) {
    sky::TestImage video(640, 480, ImageType::Video, 100);
    CurrentImage current(&video);
    SessionData s, l;  // a new session resets the exposure record
    copy_text(SessionData::dlgdat.shutter, "25");
    // Four points at 0.40 .. 0.52 s: the least-squares slope of their arcs
    // (0, 1, 2, 3.5 degrees) is 28.75 degrees a second.
    AddPoints(s, {10, 11, 12, 13});
    Run(s, Trail(kPole, kStart, {0, 1, 2, 3.5}));
    EXPECT_NEAR(w_, 28.75 * kDeg, 1e-3);
    EXPECT_GT(dw_, 0.0f);
    // Six points: the wild last one is left out.
    AddPoints(l, {0, 1, 2, 3, 4, 5});
    Run(l, Trail(kPole, kStart, {5, 6, 7, 8, 9, 20}));
    EXPECT_NEAR(w_, 1 * kDeg * 25, 1e-3);
}

TEST_F(AngularVelocity, IsZeroNeverNaNWhenItCannotBeMeasuredAndTwoPointsTakeTheErrorFromThePlateFit) {
    const struct {
        const char* what;
        const char* shutter;
        std::vector<double> arcs;
        std::vector<int> frames;
        bool no_error = true;  // the error, too, is zero
    } cases[] = {
        {"no shutter value", "0.0", {0, 1, 2, 3, 4}, {0, 1, 2, 3, 4}},
        {"three breaks leave only one point", "10", {0, 1, 2}, {0, 1, 2}},
        {"every point on one frame", "10", {0, 1, 2, 3, 4}, {3, 3, 3, 3, 3}},
        // Arcs are measured from the first used point, so motion away from
        // it always counts as positive; a later point nearer to the first
        // one makes the slope negative.
        {"backward motion", "10", {0, 0, 3, 0.5, 0.2, 0}, {0, 1, 2, 3, 4, 5}, false},
    };
    for (const auto& c : cases) {
        SessionData s;
        copy_text(SessionData::dlgdat.shutter, c.shutter);
        AddPoints(s, c.frames);
        w_ = dw_ = -1;
        Run(s, Trail(kPole, kStart, c.arcs));
        EXPECT_EQ(std::pair(w_, c.no_error ? dw_ : 0.0f), std::pair(0.0f, 0.0f)) << c.what;
    }

    SessionData s;
    s.sd = 0.01f;
    copy_text(SessionData::dlgdat.shutter, "10");
    // Two nearly identical directions in the middle: the arc is 0, never NaN.
    AddPoints(s, {0, 1, 2, 3});
    Run(s, Trail(kPole, kStart, {0, 1, 1, 2}));
    EXPECT_NEAR(w_, 0.0, 1e-2);  // never NaN: single-precision arcs of about 1e-4 rad at most
    EXPECT_NEAR(dw_, 1.4 * 0.01 * 3.141592654 / 180, 1e-9);
}

TEST(NextPoint, ABendStartsANewRunAndLongRunsUseTheSpanOfTheLastFourSteps) {
    SessionData s;
    s.AddMetPnt(Meteor(1.0f, 1.0f, 0));
    s.AddMetPnt(Meteor(1.2f, 1.0f, 1));
    s.AddMetPnt(Meteor(1.4f, 1.0f, 2));
    // Turned by 30 degrees.
    s.AddMetPnt(Meteor(1.4f + 0.2f * std::cos(30 * kDeg), 1.0f + 0.2f * std::sin(30 * kDeg), 3));
    int px = -999, py = -999;
    s.NextMeteor(px, py, -1);  // one point in the new run: nothing
    EXPECT_EQ(std::pair(s.mstart, px), std::pair(3u, -999));
    s.AddMetPnt(Meteor(1.8f, 1.3f, 4));
    s.NextMeteor(px, py, -1);
    EXPECT_NE(px, -999);
    EXPECT_EQ(s.mstart, 3u);

    // Steps of 0.1 mm, the first two smaller: a long run must ignore them.
    SessionData l;
    const float xs[] = {1.00f, 1.05f, 1.10f, 1.20f, 1.30f, 1.40f, 1.50f};
    for (int i = 0; i < 7; ++i) l.AddMetPnt(Meteor(xs[i], 2.0f, i));
    l.NextMeteor(px, py, 9);  // video frame 9: three frames after the last point
    const float dx = 1.50f - 1.10f;  // points n-5 .. n-1 span four frames
    EXPECT_EQ(std::pair(px, py), std::pair(static_cast<int>((3 * dx / 4 + 1.50f) * 83.3333) - 40,
                                            static_cast<int>((3 * 0.0f / 4 + 2.0f) * 83.3333) - 40));
}

