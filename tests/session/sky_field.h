#pragma once
// A synthetic photograph: stars at known sky positions placed on the plate by
// an exact gnomonic projection written here from the textbook formulas
// (independent of the reduction under test), north up and east to the left.

#include <cmath>
#include <cstdio>

#include "image/meteor_image.h"
#include "session/fixed_text.h"
#include "session/session_data.h"

namespace sky {
constexpr double kPi = 3.14159265358979323846;

struct Field {
    double ra0_h = 3.0;       // tangent point, hours
    double de0_deg = 45.0;    // degrees
    double focal_mm = 50.0;   // plate scale: mm per radian
    double rot_deg = 0.0;     // rotation of the plate against north-up
    double xc_mm = 6.0;       // plate position of the tangent point
    double yc_mm = 4.2;

    // Plate position (mm) of a sky position (hours, degrees).
    void ToPlate(double ra_h, double de_deg, float& x, float& y) const {
        const double a = ra_h * kPi / 12, d = de_deg * kPi / 180;
        const double a0 = ra0_h * kPi / 12, d0 = de0_deg * kPi / 180;
        const double cosc = std::sin(d0) * std::sin(d) + std::cos(d0) * std::cos(d) * std::cos(a - a0);
        const double xi = std::cos(d) * std::sin(a - a0) / cosc;  // east
        const double eta = (std::cos(d0) * std::sin(d) - std::sin(d0) * std::cos(d) * std::cos(a - a0)) / cosc;
        const double r = rot_deg * kPi / 180;
        const double u = -xi * focal_mm, v = eta * focal_mm;  // east to the left, north up
        x = static_cast<float>(xc_mm + u * std::cos(r) - v * std::sin(r));
        y = static_cast<float>(yc_mm + u * std::sin(r) + v * std::cos(r));
    }
};

inline Star MakeStar(const char* name, double ra_h, double de_deg, const Field& f, double dx = 0,
                     double dy = 0) {
    CatStar c;
    std::snprintf(c.name, sizeof c.name, "%s", name);
    c.mag = 4.0f;
    c.ra = static_cast<float>(ra_h);
    c.de = static_cast<float>(de_deg);
    float x, y;
    f.ToPlate(ra_h, de_deg, x, y);
    return Star(c, x + static_cast<float>(dx), y + static_cast<float>(dy));
}

// Angular distance in arcseconds between two positions (hours, degrees).
inline double ArcsecBetween(double ra1, double de1, double ra2, double de2) {
    const double a1 = ra1 * kPi / 12, d1 = de1 * kPi / 180, a2 = ra2 * kPi / 12, d2 = de2 * kPi / 180;
    const double c = std::sin(d1) * std::sin(d2) + std::cos(d1) * std::cos(d2) * std::cos(a1 - a2);
    return std::acos(std::fmin(1.0, c)) * 180 / kPi * 3600;
}

// Sets the exposure record's date, or its meteor and reference times
// (hours, minutes, seconds: texts as typed).
inline void SetDate(const char* year, const char* month, const char* day) {
    copy_text(SessionData::dlgdat.year, year);
    copy_text(SessionData::dlgdat.month, month);
    copy_text(SessionData::dlgdat.day, day);
}
inline void SetTimes(const char* h, const char* m, const char* s, const char* rh, const char* rm, const char* rs) {
    DialogData& d = SessionData::dlgdat;
    copy_text(d.hour, h), copy_text(d.minute, m), copy_text(d.second, s);
    copy_text(d.refhour, rh), copy_text(d.refminute, rm), copy_text(d.refsecond, rs);
}

// An image of the given size standing for the current picture.
class TestImage : public MeteorImage {
public:
    TestImage(int w, int h, int kind, int frames = 1) : frames_(frames) {
        width = w;
        height = h;
        type = kind;
    }
    int GetNFr() const override { return frames_; }

private:
    int frames_;
};
}  // namespace sky
