#pragma once
// Synthetic but realistic measurements of two meteor images, from which the
// example sessions in data/examples/ are written: real bright stars with
// their J2000 positions, projected through a camera (gnomonic projection,
// rotation, a little barrel distortion on the wide video lens), measured
// with Gaussian noise in quarter-pixel steps, and a meteor moving along a
// great circle with a slight deceleration.
//
// Header-only so that the generator and the tests build the same sessions.
// Deterministic: a fixed seed and a Gaussian built from mt19937's
// standardised output.

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "session/fixed_text.h"
#include "session/session_data.h"

namespace synthetic {

struct CatalogueStar {
    const char* name;
    float mag;
    int rah, ram;
    double ras;
    int ded, dem;
    double des;  // declination is positive for every star used here

    double RaHours() const { return rah + ram / 60.0 + ras / 3600.0; }
    double DeDegrees() const { return ded + dem / 60.0 + des / 3600.0; }
};

// Bright stars of Perseus, Cassiopeia, Andromeda and Auriga, J2000.
inline const std::vector<CatalogueStar>& BrightStars() {
    static const std::vector<CatalogueStar> stars = {
        {"Alp Per", 1.79f, 3, 24, 19.4, 49, 51, 40},  {"Bet Per", 2.09f, 3, 8, 10.1, 40, 57, 20},
        {"Gam Per", 2.93f, 3, 4, 47.8, 53, 30, 23},   {"Del Per", 3.01f, 3, 42, 55.5, 47, 47, 15},
        {"Eps Per", 2.89f, 3, 57, 51.2, 40, 0, 37},   {"Eta Per", 3.76f, 2, 50, 41.8, 55, 53, 44},
        {"Nu  Per", 3.77f, 3, 45, 11.6, 42, 34, 43},  {"Kap Per", 3.80f, 3, 9, 29.8, 44, 51, 27},
        {"Psi Per", 4.23f, 3, 36, 29.4, 48, 11, 34},  {"Sig Per", 4.36f, 3, 30, 34.5, 47, 59, 43},
        {"Tau Per", 3.95f, 2, 54, 15.5, 52, 45, 45},  {"Iot Per", 4.05f, 3, 9, 4.0, 49, 36, 48},
        {"Mu  Per", 4.14f, 4, 14, 53.9, 48, 24, 33},  {"Lam Per", 4.29f, 4, 6, 35.0, 50, 21, 5},
        {"48  Per", 4.04f, 4, 8, 39.7, 47, 42, 45},   {"Alp Aur", 0.08f, 5, 16, 41.4, 45, 59, 53},
        {"Eps Aur", 2.99f, 5, 1, 58.1, 43, 49, 24},   {"Eta Aur", 3.17f, 5, 6, 30.9, 41, 14, 4},
        {"Gam And", 2.26f, 2, 3, 53.9, 42, 19, 47},   {"Del Cas", 2.68f, 1, 25, 49.0, 60, 14, 7},
        {"Eps Cas", 3.38f, 1, 54, 23.7, 63, 40, 12},  {"Gam Cas", 2.47f, 0, 56, 42.5, 60, 43, 0},
    };
    return stars;
}

struct Vec {
    double x, y, z;
};
inline Vec Direction(double ra_h, double de_deg) {
    const double a = ra_h * M_PI / 12, d = de_deg * M_PI / 180;
    return {std::cos(a) * std::cos(d), std::sin(a) * std::cos(d), std::sin(d)};
}
inline double Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline void ToRaDe(Vec v, double& ra_h, double& de_deg) {
    ra_h = std::atan2(v.y, v.x) * 12 / M_PI;
    if (ra_h < 0) ra_h += 24;
    de_deg = std::asin(v.z) * 180 / M_PI;
}
// The point at fraction f of the great-circle arc from a to b.
inline Vec Slerp(Vec a, Vec b, double f) {
    const double omega = std::acos(Dot(a, b));
    const double s = std::sin(omega);
    const double ka = std::sin((1 - f) * omega) / s, kb = std::sin(f * omega) / s;
    return {ka * a.x + kb * b.x, ka * a.y + kb * b.y, ka * a.z + kb * b.z};
}

struct Camera {
    double ra_h, de_deg;  // optical axis
    double rotation_deg;  // of the sky's north, counterclockwise
    double focal_mm;      // on the nominal image plane (0.012 mm per pixel)
    double distortion;    // radial: r' = r (1 + k r^2), r in mm
    int width, height;    // pixels
    double noise_px;      // standard deviation of one measurement

    // Plate position (mm) of a sky direction; false when it falls outside
    // the picture with a margin of 15 pixels.
    bool Project(Vec s, double& x, double& y) const {
        const double a = ra_h * M_PI / 12, d = de_deg * M_PI / 180;
        const Vec cen = Direction(ra_h, de_deg);
        const Vec west = {std::sin(a), -std::cos(a), 0};
        const Vec south = {std::cos(a) * std::sin(d), std::sin(a) * std::sin(d), -std::cos(d)};
        const double q = Dot(s, cen);
        if (q <= 0.2) return false;
        // x grows westward (to the right with north up), y northward.
        double u = focal_mm * Dot(s, west) / q;
        double v = -focal_mm * Dot(s, south) / q;
        const double scale = 1 + distortion * (u * u + v * v);
        u *= scale;
        v *= scale;
        const double r = rotation_deg * M_PI / 180;
        x = width * 0.006 + u * std::cos(r) - v * std::sin(r);
        y = height * 0.006 + u * std::sin(r) + v * std::cos(r);
        const double margin = 15 * 0.012;
        return x > margin && y > margin && x < width * 0.012 - margin && y < height * 0.012 - margin;
    }
};

class Measurer {
public:
    Measurer(const Camera& c, std::uint32_t seed) : camera_(c), rng_(seed) {}
    // One measurement of a true position: noise, then the quarter-pixel
    // steps of the magnifier.
    float Measure(double mm) {
        const double noisy = mm + Gaussian() * camera_.noise_px * 0.012;
        return static_cast<float>(std::round(noisy / 0.003) * 0.003);
    }

private:
    double Uniform() { return (rng_() + 0.5) / 4294967296.0; }
    double Gaussian() {
        return std::sqrt(-2 * std::log(Uniform())) * std::cos(2 * M_PI * Uniform());
    }
    Camera camera_;
    std::mt19937 rng_;
};

struct Example {
    std::string file_name;  // as SessionData::OutFilename proposes it
};

inline void SetExposure(const char* station, const char* image, const char* meteor,
                        const char* date_time[6], const char* ref[3], const char* objective,
                        const char* shutter) {
    DialogData& d = SessionData::dlgdat;
    copy_text(d.station, station);
    copy_text(d.image, image);
    copy_text(d.meteor, meteor);
    copy_text(d.year, date_time[0]);
    copy_text(d.month, date_time[1]);
    copy_text(d.day, date_time[2]);
    copy_text(d.hour, date_time[3]);
    copy_text(d.minute, date_time[4]);
    copy_text(d.second, date_time[5]);
    copy_text(d.refhour, ref[0]);
    copy_text(d.refminute, ref[1]);
    copy_text(d.refsecond, ref[2]);
    copy_text(d.objective, objective);
    copy_text(d.shutter, shutter);
    d.astrometry = 1;
    d.status = 0;
}

inline void AddStars(SessionData& s, const Camera& cam, Measurer& m, int measurements) {
    for (const CatalogueStar& c : BrightStars()) {
        double x, y;
        if (!cam.Project(Direction(c.RaHours(), c.DeDegrees()), x, y)) continue;
        CatStar cat;
        copy_text(cat.name, c.name);
        cat.mag = c.mag;
        cat.ra = static_cast<float>(c.RaHours());
        cat.de = static_cast<float>(c.DeDegrees());
        const Star star(cat, m.Measure(x), m.Measure(y));
        s.AddStar(star, 1);  // recomputes as the star dialog does
        for (int k = 1; k < measurements; ++k) {
            s.ReplayStar(static_cast<int>(s.nstar) - 1, m.Measure(x), m.Measure(y));
        }
    }
}

// The meteor's points: positions along the arc from a to b at the meteor
// time, moved to the sky of the reference time (the plate's), at the given
// frames (still image: ordinals).
inline void AddMeteor(SessionData& s, const Camera& cam, Measurer& m, Vec a, Vec b,
                      const std::vector<int>& frames, int maximum, int measurements) {
    const double lag_h = s.fdift() * 1.00263791;
    const double first = frames.front(), span = frames.back() - frames.front();
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const double t = (frames[i] - first) / span;
        double ra, de;
        ToRaDe(Slerp(a, b, t * (1.15 - 0.15 * t)), ra, de);  // slowing down
        double x, y;
        cam.Project(Direction(ra - lag_h, de), x, y);
        Meteor point(m.Measure(x), m.Measure(y), frames[i]);
        if (static_cast<int>(i) == maximum) copy_text(point.label, "Maximum");
        s.AddMetPnt(point);
        for (int k = 1; k < measurements; ++k) {
            s.ReplayMetPnt(static_cast<int>(s.nmet) - 1, m.Measure(x), m.Measure(y));
        }
    }
}

// A Perseid on a 50 mm photograph (36 x 24 mm film scanned to 1200 x 800
// pixels), broken 25 times a second by a rotating shutter; every star and
// break measured twice. Mimg must be a still image of the returned size.
inline Example PhotoExample(SessionData& s) {
    const char* when[6] = {"1999", "8", "12", "23", "15", "42"};
    const char* ref[3] = {"23", "10", "00"};
    SetExposure("Darnholm", "ph990812", "per0812a", when, ref, "Zenit-E, Helios 44 50 mm f/2, Ilford HP5",
                "25.000");
    const Camera cam{3.45, 47.5, 8.0, 20.0, 0.0, 1200, 800, 0.35};
    Measurer m(cam, 19990812);
    AddStars(s, cam, m, 2);
    while (s.MinOrder()) {
    }
    // From 6 to 15 degrees from the radiant (3h08m, +57.5) towards the
    // south-east.
    std::vector<int> frames;
    for (int i = 0; i < 12; ++i) frames.push_back(i);
    AddMeteor(s, cam, m, Direction(3.45, 52.0), Direction(3.95, 43.6), frames, 7, 2);
    s.nreplay = 1;
    char name[13];
    return {s.OutFilename(name)};
}

// A sporadic meteor on a PAL video (720 x 576, 25 frames per second, wide
// lens with barrel distortion); frames 120 and 121 were lost. Stars measured
// twice, the meteor once per frame. Mimg must be a video of the returned
// size.
inline Example VideoExample(SessionData& s) {
    const char* when[6] = {"1999", "8", "13", "1", "42", "17"};
    const char* ref[3] = {"1", "42", "12"};  // as AddMetPnt derives it
    SetExposure("Kestrup", "vi990813", "spo0813b", when, ref, "Watec 902H, Computar 6 mm f/0.8",
                "25.000");
    const Camera cam{3.6, 49.0, -5.0, 8.0, -0.0012, 720, 576, 0.5};
    Measurer m(cam, 19990813);
    AddStars(s, cam, m, 2);
    std::vector<int> frames;
    for (int f = 112; f <= 131; ++f) {
        if (f != 120 && f != 121) frames.push_back(f);
    }
    AddMeteor(s, cam, m, Direction(2.55, 55.5), Direction(4.55, 44.0), frames, 9, 1);
    s.nreplay = 1;
    char name[13];
    return {s.OutFilename(name)};
}

// Each example with the image it is measured on (size in pixels, ImageType
// bits); that image must be current (Mimg) while the session is built.
struct ExampleImage {
    Example (*make)(SessionData&);
    int width, height, type;
};
inline std::vector<ExampleImage> ExampleImages() {
    return {{PhotoExample, 1200, 800, 1}, {VideoExample, 720, 576, 9}};
}

}  // namespace synthetic
