#include "measure_sky_scene.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <numbers>
#include <random>

namespace sky_scene {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kMmPerPixel = 0.012;
constexpr double kBackground = 20.0;
constexpr double kNoise = 2.5;
constexpr double kStarSigma = 1.3;
constexpr double kTrailSigma = 1.0;
constexpr double kSpotSigma = 1.2;

using Vec = std::array<double, 3>;

Vec Direction(double ra, double de) {
    const double a = ra * kPi / 12, d = de * kPi / 180;
    return {std::cos(d) * std::cos(a), std::cos(d) * std::sin(a), std::sin(d)};
}

void Angles(const Vec& s, double& ra, double& de) {
    const double n = std::sqrt(s[0] * s[0] + s[1] * s[1] + s[2] * s[2]);
    de = std::asin(s[2] / n) * 180 / kPi;
    ra = std::atan2(s[1], s[0]) * 12 / kPi;
    if (ra < 0) ra += 24;
}

double Dot(const Vec& a, const Vec& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// The axis and the east and north directions of the tangent plane.
struct Frame {
    Vec c, e, n;
};

Frame TangentFrame(const Camera& cam) {
    const double a = cam.ra0 * kPi / 12, d = cam.de0 * kPi / 180;
    return {Direction(cam.ra0, cam.de0),
            {-std::sin(a), std::cos(a), 0},
            {-std::sin(d) * std::cos(a), -std::sin(d) * std::sin(a), std::cos(d)}};
}

double FocalPixels(const Camera& cam) { return cam.focal_mm / kMmPerPixel; }

// The Gaussian of one star, spot or trail sample added into a picture of
// doubles (top row first).
void AddGaussian(std::vector<double>& img, int w, int h, double u, double v, double peak, double sigma) {
    const int reach = static_cast<int>(std::ceil(5 * sigma));
    const int c0 = static_cast<int>(std::floor(u)), b0 = static_cast<int>(std::floor(v));
    const double two_s2 = 2 * sigma * sigma;
    for (int b = b0 - reach; b <= b0 + reach; ++b) {
        if (b < 0 || b >= h) continue;
        const double dv = b + 0.5 - v;
        for (int c = c0 - reach; c <= c0 + reach; ++c) {
            if (c < 0 || c >= w) continue;
            const double du = c + 0.5 - u;
            img[static_cast<std::size_t>(h - 1 - b) * w + c] += peak * std::exp(-(du * du + dv * dv) / two_s2);
        }
    }
}

std::vector<double> Sky(const Scene& scene, std::uint32_t seed) {
    const Camera& cam = scene.camera;
    std::vector<double> img(static_cast<std::size_t>(cam.width) * cam.height);
    std::mt19937 gen(seed);
    std::normal_distribution<double> noise(kBackground, kNoise);
    for (double& p : img) p = noise(gen);
    for (const TrueStar& s : scene.rendered)
        AddGaussian(img, cam.width, cam.height, s.u, s.v, 220.0 * std::pow(10.0, -0.4 * (s.cat.mag - 3.0)), kStarSigma);
    return img;
}

std::vector<std::uint8_t> Quantise(const std::vector<double>& img) {
    std::vector<std::uint8_t> out(img.size());
    for (std::size_t i = 0; i < img.size(); ++i) out[i] = static_cast<std::uint8_t>(std::clamp(std::lround(img[i]), 0L, 255L));
    return out;
}

// The great circle from a to b at fraction t (beyond 0 .. 1 as well).
Vec Slerp(const Vec& a, const Vec& b, double angle, double t) {
    const double s = std::sin(angle);
    const double wa = std::sin((1 - t) * angle) / s, wb = std::sin(t * angle) / s;
    return {wa * a[0] + wb * b[0], wa * a[1] + wb * b[1], wa * a[2] + wb * b[2]};
}

double DistanceToSegment(double x, double y, double x0, double y0, double x1, double y1) {
    const double dx = x1 - x0, dy = y1 - y0;
    const double t = std::clamp(((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(x - x0 - t * dx, y - y0 - t * dy);
}

double Area(const TrueStar& a, const TrueStar& b, const TrueStar& c) {
    return std::fabs((b.u - a.u) * (c.v - a.v) - (c.u - a.u) * (b.v - a.v)) / 2;
}

// The light of the photograph in grey levels, before any rounding.
std::vector<double> PhotoLight(const Scene& scene, std::uint32_t seed) {
    const Camera& cam = scene.camera;
    std::vector<double> img = Sky(scene, seed);
    const std::size_t n = scene.meteor.size();
    if (n >= 2) {
        const TruePoint &first = scene.meteor.front(), &last = scene.meteor.back();
        const Vec a = Direction(first.ra, first.de), b = Direction(last.ra, last.de);
        const double angle = scene.step_deg * (n - 1) * kPi / 180;
        const double step_px = std::hypot(last.u - first.u, last.v - first.v) / (n - 1);
        // Half a step before the first break to half a step after the last,
        // sampled every twentieth of a pixel; the shutter hides 2.5 pixels
        // on either side of each break.
        const double dt = 0.05 / step_px;
        const double brightest = (n - 1) / 2.0;
        const double per_sample = 0.05 / (kTrailSigma * std::sqrt(2 * kPi));
        for (double t = -0.5; t <= n - 0.5; t += dt) {
            if (std::fabs(t - std::round(t)) * step_px < 2.5) continue;
            double ra = 0, de = 0, u = 0, v = 0;
            Angles(Slerp(a, b, angle, t / (n - 1)), ra, de);
            cam.Project(ra, de, u, v);
            const double line = 150.0 * (0.4 + 0.6 * std::exp(-std::pow((t - brightest) / 3, 2)));
            AddGaussian(img, cam.width, cam.height, u, v, line * per_sample, kTrailSigma);
        }
    }
    return img;
}

}  // namespace

bool Camera::Project(double ra, double de, double& u, double& v) const {
    const Frame f = TangentFrame(*this);
    const Vec s = Direction(ra, de);
    const double denom = Dot(s, f.c);
    if (denom <= 0) return false;
    const double xi = Dot(s, f.e) / denom, eta = Dot(s, f.n) / denom;
    const double r = roll_deg * kPi / 180;
    const double right = -(xi * std::cos(r) - eta * std::sin(r));  // east lies to the left
    const double up = xi * std::sin(r) + eta * std::cos(r);
    const double du = FocalPixels(*this) * right, dv = FocalPixels(*this) * up;
    const double scale = 1 + k * (du * du + dv * dv);
    u = width / 2.0 + du * scale;
    v = height / 2.0 + dv * scale;
    return true;
}

void Camera::Sky(double u, double v, double& ra, double& de) const {
    const double right = (u - width / 2.0) / FocalPixels(*this), up = (v - height / 2.0) / FocalPixels(*this);
    const double rr = roll_deg * kPi / 180;
    // right = -(xi cos - eta sin), up = xi sin + eta cos
    const double xi = -right * std::cos(rr) + up * std::sin(rr);
    const double eta = right * std::sin(rr) + up * std::cos(rr);
    const Frame f = TangentFrame(*this);
    Angles({f.c[0] + xi * f.e[0] + eta * f.n[0], f.c[1] + xi * f.e[1] + eta * f.n[1], f.c[2] + xi * f.e[2] + eta * f.n[2]},
           ra, de);
}

double Camera::ArcsecPerPixel() const { return kMmPerPixel / focal_mm * 180 / kPi * 3600; }

double Separation(double ra1, double de1, double ra2, double de2) {
    // From the chord, which keeps its digits at small angles where the arc
    // cosine loses them.
    const Vec a = Direction(ra1, de1), b = Direction(ra2, de2);
    const double chord = std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) + (a[2] - b[2]) * (a[2] - b[2]));
    return 2 * std::asin(std::min(chord / 2, 1.0)) * 180 / kPi;
}

Scene MakeScene(const CatalogueFiles& files, const SceneSpec& plan) {
    Scene scene;
    scene.camera = plan.camera;
    const Camera& cam = scene.camera;
    const double half_diagonal = std::hypot(cam.width, cam.height) / 2 * cam.ArcsecPerPixel() / 3600;
    const SkyCat catalogue(files, static_cast<float>(cam.ra0), static_cast<float>(cam.de0),
                           static_cast<float>(half_diagonal + 1), 8.0f);
    for (const CatStar& c : catalogue.candidates) {
        double u = 0, v = 0;
        if (c.mag > plan.render_limit || !cam.Project(c.ra, c.de, u, v)) continue;
        if (u < -10 || v < -10 || u > cam.width + 10 || v > cam.height + 10) continue;
        scene.rendered.push_back({c, u, v});
    }

    double ra_a = 0, de_a = 0, ra_b = 0, de_b = 0;
    cam.Sky(plan.from_u, plan.from_v, ra_a, de_a);
    cam.Sky(plan.to_u, plan.to_v, ra_b, de_b);
    const Vec a = Direction(ra_a, de_a), b = Direction(ra_b, de_b);
    const double angle = Separation(ra_a, de_a, ra_b, de_b) * kPi / 180;
    scene.step_deg = angle * 180 / kPi / (plan.points - 1);
    for (int i = 0; i < plan.points; ++i) {
        TruePoint p;
        Angles(Slerp(a, b, angle, static_cast<double>(i) / (plan.points - 1)), p.ra, p.de);
        cam.Project(p.ra, p.de, p.u, p.v);
        p.frame = plan.first_frame + i;
        scene.meteor.push_back(p);
    }

    std::vector<TrueStar> eligible;
    for (const TrueStar& s : scene.rendered) {
        if (s.cat.mag > plan.choose_limit) continue;
        if (s.u < 24 || s.v < 24 || s.u > cam.width - 24 || s.v > cam.height - 24) continue;
        bool alone = true;
        for (const TrueStar& o : scene.rendered)
            if (&o != &s && std::hypot(o.u - s.u, o.v - s.v) < 14) alone = false;
        for (const CatStar& o : catalogue.candidates)
            if (std::strcmp(o.name, s.cat.name) != 0 && Separation(o.ra, o.de, s.cat.ra, s.cat.de) < 0.15) alone = false;
        // The trail reaches half a step beyond the first and last points.
        const TruePoint &p0 = scene.meteor.front(), &p1 = scene.meteor.back();
        const double half = 0.5 / (plan.points - 1);
        if (DistanceToSegment(s.u, s.v, p0.u - (p1.u - p0.u) * half, p0.v - (p1.v - p0.v) * half,
                              p1.u + (p1.u - p0.u) * half, p1.v + (p1.v - p0.v) * half) < 16)
            alone = false;
        if (alone) eligible.push_back(s);
    }
    std::sort(eligible.begin(), eligible.end(), [](const TrueStar& x, const TrueStar& y) { return x.cat.mag < y.cat.mag; });

    // The three named first: the widest triangle among the brightest named.
    std::vector<TrueStar> named;
    for (const TrueStar& s : eligible)
        if (std::strncmp(s.cat.name, "SAO", 3) != 0 && std::strncmp(s.cat.name, "HD", 2) != 0 && named.size() < 10)
            named.push_back(s);
    std::array<std::size_t, 3> best{0, 1, 2};
    double best_area = -1;
    for (std::size_t i = 0; i < named.size(); ++i)
        for (std::size_t j = i + 1; j < named.size(); ++j)
            for (std::size_t k = j + 1; k < named.size(); ++k)
                if (Area(named[i], named[j], named[k]) > best_area) {
                    best_area = Area(named[i], named[j], named[k]);
                    best = {i, j, k};
                }
    if (named.size() >= 3)
        for (std::size_t i : best)
            if (static_cast<int>(scene.chosen.size()) < plan.stars_to_choose) scene.chosen.push_back(named[i]);

    // Then the others, each as far as can be from those chosen already.
    while (static_cast<int>(scene.chosen.size()) < plan.stars_to_choose) {
        const TrueStar* far = nullptr;
        double far_d = -1;
        for (const TrueStar& s : eligible) {
            double d = 1e9;
            for (const TrueStar& c : scene.chosen) d = std::min(d, std::hypot(c.u - s.u, c.v - s.v));
            if (d > far_d && d > 1) {
                far_d = d;
                far = &s;
            }
        }
        if (far == nullptr) break;
        scene.chosen.push_back(*far);
    }
    return scene;
}

std::vector<std::uint8_t> RenderPhoto(const Scene& scene, std::uint32_t seed) { return Quantise(PhotoLight(scene, seed)); }

std::vector<std::uint16_t> RenderPhoto16(const Scene& scene, std::uint32_t seed) {
    const std::vector<double> light = PhotoLight(scene, seed);
    std::vector<std::uint16_t> out(light.size());
    for (std::size_t i = 0; i < light.size(); ++i)
        out[i] = static_cast<std::uint16_t>(std::clamp(std::lround(1500 + 100 * light[i]), 0L, 65535L));
    return out;
}

std::vector<std::uint8_t> RenderFrame(const Scene& scene, int frame, std::uint32_t seed) {
    std::vector<double> img = Sky(scene, seed + static_cast<std::uint32_t>(frame) * 7919u);
    for (const TruePoint& p : scene.meteor)
        if (p.frame == frame) AddGaussian(img, scene.camera.width, scene.camera.height, p.u, p.v, 170.0, kSpotSigma);
    return Quantise(img);
}

}  // namespace sky_scene
