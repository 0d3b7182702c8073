#include "identify/tan_wcs.h"

#include <fitsio.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <string>

#include "image/fits_header.h"

namespace {

constexpr double kDeg = std::numbers::pi / 180;
using fits_header::kMostHdus;
using FitsFile = fits_header::File;

std::optional<double> Number(fitsfile* f, const std::string& key) {
    double v = 0;
    int status = 0;
    if (fits_read_key(f, TDOUBLE, key.c_str(), &v, nullptr, &status) != 0) {
        fits_clear_errmsg();
        return std::nullopt;
    }
    if (!std::isfinite(v)) return std::nullopt;
    return v;
}

// One SIP polynomial; false when its order is out of range or a present
// coefficient is not a number.
bool ReadSip(fitsfile* f, const char* name, int& order, double (&c)[TanWcs::kMaxSipOrder + 1][TanWcs::kMaxSipOrder + 1]) {
    const auto o = Number(f, std::string(name) + "_ORDER");
    if (!o) {
        order = 0;
        return true;
    }
    if (*o < 0 || *o > TanWcs::kMaxSipOrder || *o != std::floor(*o)) return false;
    order = static_cast<int>(*o);
    for (int p = 0; p <= order; ++p)
        for (int q = 0; p + q <= order; ++q) {
            const std::string key = std::string(name) + "_" + std::to_string(p) + "_" + std::to_string(q);
            int status = 0;
            char value[FLEN_VALUE] = {};
            if (fits_read_keyword(f, key.c_str(), value, nullptr, &status) != 0) {
                fits_clear_errmsg();
                continue;  // an absent coefficient is 0
            }
            const auto v = Number(f, key);
            if (!v) return false;
            c[p][q] = *v;
        }
    return true;
}

// The CD matrix from CDi_j, else from CDELTi with PCi_j or CROTA2.
bool ReadCd(fitsfile* f, double (&cd)[2][2]) {
    const auto c11 = Number(f, "CD1_1"), c12 = Number(f, "CD1_2"), c21 = Number(f, "CD2_1"), c22 = Number(f, "CD2_2");
    if (c11 || c12 || c21 || c22) {
        cd[0][0] = c11.value_or(0);
        cd[0][1] = c12.value_or(0);
        cd[1][0] = c21.value_or(0);
        cd[1][1] = c22.value_or(0);
        return true;
    }
    const auto d1 = Number(f, "CDELT1"), d2 = Number(f, "CDELT2");
    if (!d1 || !d2) return false;
    double pc[2][2] = {{1, 0}, {0, 1}};
    const auto p11 = Number(f, "PC1_1"), p12 = Number(f, "PC1_2"), p21 = Number(f, "PC2_1"), p22 = Number(f, "PC2_2");
    if (p11 || p12 || p21 || p22) {
        pc[0][0] = p11.value_or(1);
        pc[0][1] = p12.value_or(0);
        pc[1][0] = p21.value_or(0);
        pc[1][1] = p22.value_or(1);
    } else if (const auto rot = Number(f, "CROTA2")) {
        const double c = std::cos(*rot * kDeg), s = std::sin(*rot * kDeg);
        pc[0][0] = c;
        pc[0][1] = -s * *d2 / *d1;
        pc[1][0] = s * *d1 / *d2;
        pc[1][1] = c;
    }
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j) cd[i][j] = (i == 0 ? *d1 : *d2) * pc[i][j];
    return true;
}

std::optional<TanWcs> ReadHere(fitsfile* f) {
    const int ra_axis = fits_header::CelestialRaAxis(f);
    if (ra_axis == 0) return std::nullopt;
    TanWcs w;
    const auto v1 = Number(f, "CRVAL1"), v2 = Number(f, "CRVAL2"), p1 = Number(f, "CRPIX1"), p2 = Number(f, "CRPIX2");
    if (!v1 || !v2 || !p1 || !p2 || !ReadCd(f, w.cd)) return std::nullopt;
    w.crval[0] = *v1;
    w.crval[1] = *v2;
    w.crpix[0] = *p1;
    w.crpix[1] = *p2;
    if (ra_axis == 2) {
        // DEC on axis 1: swap the world rows so row 0 is always RA.
        std::swap(w.crval[0], w.crval[1]);
        std::swap(w.cd[0], w.cd[1]);
    }
    const double det = w.cd[0][0] * w.cd[1][1] - w.cd[0][1] * w.cd[1][0];
    if (!(std::fabs(det) > 1e-20) || !(std::fabs(det) < 100) || !(std::fabs(w.crval[1]) <= 90)) return std::nullopt;
    w.crval[0] = std::fmod(std::fmod(w.crval[0], 360.0) + 360.0, 360.0);
    if (!ReadSip(f, "A", w.a_order, w.a) || !ReadSip(f, "B", w.b_order, w.b) || !ReadSip(f, "AP", w.ap_order, w.ap) ||
        !ReadSip(f, "BP", w.bp_order, w.bp))
        return std::nullopt;
    if (ra_axis == 2 && (w.a_order || w.b_order)) return std::nullopt;  // no such SIP file is written
    return w;
}

double Poly(const double (&c)[TanWcs::kMaxSipOrder + 1][TanWcs::kMaxSipOrder + 1], int order, double u, double v) {
    double sum = 0;
    double up = 1;
    for (int p = 0; p <= order; ++p, up *= u) {
        double vq = 1;
        for (int q = 0; p + q <= order; ++q, vq *= v) sum += c[p][q] * up * vq;
    }
    return sum;
}

}  // namespace

void TanWcs::PixelToSky(double x, double y, double& ra_h, double& de_deg) const {
    double u = x - crpix[0], v = y - crpix[1];
    const double du = a_order ? Poly(a, a_order, u, v) : 0, dv = b_order ? Poly(b, b_order, u, v) : 0;
    u += du;
    v += dv;
    const double xi = (cd[0][0] * u + cd[0][1] * v) * kDeg;  // east
    const double eta = (cd[1][0] * u + cd[1][1] * v) * kDeg;  // north
    const double a0 = crval[0] * kDeg, d0 = crval[1] * kDeg;
    const double den = std::cos(d0) - eta * std::sin(d0);
    double ra = a0 + std::atan2(xi, den);
    const double de = std::atan2(eta * std::cos(d0) + std::sin(d0), std::hypot(xi, den));
    ra = std::fmod(ra / kDeg + 360.0, 360.0);
    ra_h = ra / 15.0;
    de_deg = de / kDeg;
}

bool TanWcs::SkyToPixel(double ra_h, double de_deg, double& x, double& y) const {
    const double al = ra_h * 15 * kDeg, de = de_deg * kDeg, a0 = crval[0] * kDeg, d0 = crval[1] * kDeg;
    const double cosc = std::sin(d0) * std::sin(de) + std::cos(d0) * std::cos(de) * std::cos(al - a0);
    if (!(cosc > 1e-6)) return false;
    const double xi = std::cos(de) * std::sin(al - a0) / cosc / kDeg;
    const double eta = (std::cos(d0) * std::sin(de) - std::sin(d0) * std::cos(de) * std::cos(al - a0)) / cosc / kDeg;
    const double det = cd[0][0] * cd[1][1] - cd[0][1] * cd[1][0];
    const double U = (cd[1][1] * xi - cd[0][1] * eta) / det, V = (-cd[1][0] * xi + cd[0][0] * eta) / det;
    double u = U, v = V;
    if (ap_order || bp_order) {
        u = U + Poly(ap, ap_order, U, V);
        v = V + Poly(bp, bp_order, U, V);
    }
    if (a_order || b_order) {
        // The inverse polynomials are an approximation; Newton's method on
        // the forward ones makes the pixel exact.
        for (int i = 0; i < 20; ++i) {
            const double fu = u + Poly(a, a_order, u, v) - U, fv = v + Poly(b, b_order, u, v) - V;
            if (std::fabs(fu) < 1e-9 && std::fabs(fv) < 1e-9) break;
            const double h = 1e-3;
            const double j11 = 1 + (Poly(a, a_order, u + h, v) - Poly(a, a_order, u - h, v)) / (2 * h);
            const double j12 = (Poly(a, a_order, u, v + h) - Poly(a, a_order, u, v - h)) / (2 * h);
            const double j21 = (Poly(b, b_order, u + h, v) - Poly(b, b_order, u - h, v)) / (2 * h);
            const double j22 = 1 + (Poly(b, b_order, u, v + h) - Poly(b, b_order, u, v - h)) / (2 * h);
            const double jd = j11 * j22 - j12 * j21;
            if (!(std::fabs(jd) > 1e-12)) break;
            u -= (j22 * fu - j12 * fv) / jd;
            v -= (-j21 * fu + j11 * fv) / jd;
        }
    }
    x = u + crpix[0];
    y = v + crpix[1];
    return std::isfinite(x) && std::isfinite(y);
}

std::optional<TanWcs> ReadTanWcs(const std::string& path, int hdu) {
    int status = 0;
    fitsfile* raw = nullptr;
    fits_open_diskfile(&raw, path.c_str(), READONLY, &status);
    FitsFile f(raw);
    if (status != 0) {
        fits_clear_errmsg();
        return std::nullopt;
    }
    std::optional<TanWcs> found;
    for (int h = hdu > 0 ? hdu : 1; h <= (hdu > 0 ? hdu : kMostHdus); ++h) {
        int type = 0;
        if (fits_movabs_hdu(f.get(), h, &type, &status) != 0) break;
        found = ReadHere(f.get());
        if (found) break;
    }
    fits_clear_errmsg();
    return found;
}
