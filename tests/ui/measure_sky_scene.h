#pragma once
// Synthetic observations with a known truth, for the end-to-end tests of the
// measuring dialogs: a star field from the shipped catalogue seen through a
// gnomonic projection with a camera roll and a mild radial lens distortion,
// Gaussian star images whose brightness follows the magnitude, sensor noise,
// and a meteor moving along a great circle at a constant angular velocity.
// A photograph shows the meteor as a trail cut into dashes by a rotating
// shutter (the breaks are the gaps' centres); a video shows it as a moving
// spot, one position per frame.
//
// Pixel positions are continuous: u from the image's left edge, v from its
// bottom edge, so pixel (column c, row from the bottom b) covers
// [c, c + 1) x [b, b + 1) and plate millimetres are u * 0.012, v * 0.012.
// Sky positions are hours and degrees, epoch and equinox 2000.0.
#include <cstdint>
#include <vector>

#include "catalogue/sky_cat.h"

namespace sky_scene {

struct Camera {
    double ra0 = 0;        // optical axis, hours
    double de0 = 0;        // degrees
    double focal_mm = 35;  // at 0.012 mm per pixel
    double roll_deg = 0;   // turn of the image's "up" from north towards east
    double k = 0;          // radial distortion: r -> r (1 + k r^2), r in pixels from the centre
    int width = 0;
    int height = 0;

    // Where a sky position falls; false behind the camera.
    bool Project(double ra, double de, double& u, double& v) const;
    // The sky position seen at (u, v) through the lens without its
    // distortion, which moves it by a tenth of a pixel at most in the
    // scenes here: enough to place a meteor.
    void Sky(double u, double v, double& ra, double& de) const;
    double ArcsecPerPixel() const;
};

// Angle between two sky positions, degrees.
double Separation(double ra1, double de1, double ra2, double de2);

struct TrueStar {
    CatStar cat;
    double u = 0, v = 0;
};

struct TruePoint {
    double ra = 0, de = 0;  // on the sky
    double u = 0, v = 0;    // on the image
    int frame = 0;          // video: the frame that shows it; photograph: its index
};

struct Scene {
    Camera camera;
    std::vector<TrueStar> rendered;  // every star drawn
    std::vector<TrueStar> chosen;    // isolated bright stars to measure, spread over the field
    std::vector<TruePoint> meteor;   // the breaks, or the spot on each frame
    double step_deg = 0;             // angle between consecutive points
};

struct SceneSpec {
    Camera camera;
    float render_limit = 6.0f;  // faintest magnitude drawn
    float choose_limit = 4.8f;  // faintest magnitude chosen for measuring
    int stars_to_choose = 18;   // the first three carry a Flamsteed name
    // The meteor, from (u, v) to (u, v) on the image, in points.
    double from_u = 0, from_v = 0, to_u = 0, to_v = 0;
    int points = 12;
    int first_frame = 0;  // video: the frame of the first point
};

// Reads the stars round the camera's field from the catalogue and places
// the meteor. Stars chosen lie at least 24 pixels inside the image, have no
// other drawn star within 14 pixels and no catalogue star down to magnitude
// 8 within 0.15 degrees, and keep 16 pixels from the meteor's trail.
Scene MakeScene(const CatalogueFiles& files, const SceneSpec& plan);

// The photograph: a grey level per pixel, top row first.
std::vector<std::uint8_t> RenderPhoto(const Scene& scene, std::uint32_t seed);
// The same photograph as a 16-bit sensor records it: 1500 + 100 per grey
// level of the light RenderPhoto rounds (a sky near 3500 with a noise of
// 250), clipped at 65535 where bright stars saturate. Top row first.
std::vector<std::uint16_t> RenderPhoto16(const Scene& scene, std::uint32_t seed);

// Frame k of a video: the stars, the meteor's spot when a point lies on
// frame k, and fresh noise.
std::vector<std::uint8_t> RenderFrame(const Scene& scene, int frame, std::uint32_t seed);

}  // namespace sky_scene
