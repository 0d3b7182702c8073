#pragma once
// Images and sessions for the measuring dialogs' tests.
#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>
#include <vector>

#include "image/meteor_image.h"
#include "image/packed_dib.h"
#include "session/fixed_text.h"
#include "session/session_data.h"

namespace measure_test {

// A still picture whose pixel at column c, row r (from the bottom) has grey
// level Level(c, r); the level never reaches the magnifier's grey, 128.
class TestPicture : public MeteorImage {
public:
    TestPicture(int w, int h, int kind = ImageType::Still) {
        type = kind;
        width = w;
        height = h;
        picture = packed_dib::MakeGreyDib(w, h);
        for (int r = 0; r < h; ++r)
            for (int c = 0; c < w; ++c) packed_dib::Row(picture, w, r)[c] = Level(c, r);
        frame_picture = picture;
    }
    static std::uint8_t Level(int c, int r) { return static_cast<std::uint8_t>((7 * c + 3 * r) % 100); }
};

// A video of n frames, every frame showing the same picture.
class TestVideo : public TestPicture {
public:
    TestVideo(int w, int h, int n) : TestPicture(w, h, ImageType::Video), frames(n) {}
    int GetNFr() const override { return frames; }
    int frames;
};

inline CatStar Cat(const char* name, float mag, double ra, double de) {
    CatStar c;
    copy_text(c.name, name);
    c.mag = mag;
    c.ra = static_cast<float>(ra);
    c.de = static_cast<float>(de);
    return c;
}

// A gnomonic projection about RA 6 h, DE +20 deg at 200 mm per radian, whose
// centre lies at (12, 9) mm: the middle of a 2000 x 1500 pixel image.
struct Projection {
    static constexpr double kRc = std::numbers::pi / 2, kDc = 20 * std::numbers::pi / 180;
    const double cen[3] = {std::cos(kDc) * std::cos(kRc), std::cos(kDc) * std::sin(kRc), std::sin(kDc)};
    const double west[3] = {std::sin(kRc), -std::cos(kRc), 0};
    const double south[3] = {std::cos(kRc) * std::sin(kDc), std::sin(kRc) * std::sin(kDc), -std::cos(kDc)};
};

// Plate position (mm) of a sky position (hours, degrees) on that projection.
inline void Plate(double ra, double de, float& x, float& y) {
    const Projection p;
    const double a = ra * std::numbers::pi / 12, d = de * std::numbers::pi / 180;
    const double s[3] = {std::cos(d) * std::cos(a), std::cos(d) * std::sin(a), std::sin(d)};
    auto dot = [&](const double* u) { return u[0] * s[0] + u[1] * s[1] + u[2] * s[2]; };
    x = static_cast<float>(12 + 200 * dot(p.west) / dot(p.cen));
    y = static_cast<float>(9 + 200 * dot(p.south) / dot(p.cen));
}

// The sky position (hours, degrees) of plate position (x, y) mm.
inline void Sky(double x, double y, double& ra, double& de) {
    const Projection p;
    const double xi = (x - 12) / 200, eta = (y - 9) / 200;
    double s[3];
    for (int k = 0; k < 3; ++k) s[k] = p.cen[k] + xi * p.west[k] + eta * p.south[k];
    de = std::asin(s[2] / std::hypot(s[0], s[1], s[2])) * 180 / std::numbers::pi;
    ra = std::atan2(s[1], s[0]) * 12 / std::numbers::pi;
    if (ra < 0) ra += 24;
}

// A still of 2000 x 1500 pixels: the projection's field.
struct FieldImage : MeteorImage {
    FieldImage() {
        type = ImageType::Still;
        width = 2000;
        height = 1500;
    }
};

// Adds a star measured exactly where the projection puts it.
inline void MeasureExactly(SessionData& session, const CatStar& c) {
    float x, y;
    Plate(c.ra, c.de, x, y);
    session.AddStar(Star(c, x, y), 1);
}

// The display pixel (column, row from the top) at which a dialog opens so
// that plate position (x, y) lies in the window's centre pixel.
inline int Column(float x) { return static_cast<int>(x * (250.0 / 3)); }
inline int Row(float y, int height) { return static_cast<int>(height - 0.25 - (250.0 / 3) * y); }

}  // namespace measure_test
