#include "session/plate_solution.h"

#include <cmath>

#include "session/session_data.h"

namespace {
constexpr double kPi = 3.14159265358979323846;

int Constants(int order) { return SessionData::NumConstants(order); }

// xi and eta of plate coordinates (mm from the origin), with their partial
// derivatives when d is given: d[0] = dxi/dX, d[1] = dxi/dY, d[2] = deta/dX,
// d[3] = deta/dY.
void Evaluate(const PlateSolution& p, double X, double Y, double* xi, double* eta, double* d = nullptr) {
    // Basis X, Y, 1, X^2, XY, Y^2, X^3, X^2 Y, X Y^2, Y^3 and its derivatives.
    const double f[11] = {0, X, Y, 1, X * X, X * Y, Y * Y, X * X * X, X * X * Y, X * Y * Y, Y * Y * Y};
    const double fx[11] = {0, 1, 0, 0, 2 * X, Y, 0, 3 * X * X, 2 * X * Y, Y * Y, 0};
    const double fy[11] = {0, 0, 1, 0, 0, X, 2 * Y, 0, X * X, 2 * X * Y, 3 * Y * Y};
    const int n = Constants(p.order);
    *xi = *eta = 0.0;
    if (d) d[0] = d[1] = d[2] = d[3] = 0.0;
    for (int k = 1; k <= n; ++k) {
        *xi += p.pc[k][1] * f[k];
        *eta += p.pc[k][2] * f[k];
        if (d) {
            d[0] += p.pc[k][1] * fx[k];
            d[1] += p.pc[k][1] * fy[k];
            d[2] += p.pc[k][2] * fx[k];
            d[3] += p.pc[k][2] * fy[k];
        }
    }
}

double Dot(const double a[3], const float b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
}  // namespace

PlateSolution SolvePlate(const SessionData& session) {
    PlateSolution p;
    if (session.Visible() < 3) return p;
    SessionData copy = session;
    p.order = copy.order;
    p.pc = matrix(1, Constants(p.order), 1, 2);
    try {
        copy.PlateConstants(p.pc, p.cen, p.south, p.west, p.order);
    } catch (const NumericalError&) {
        return PlateSolution{};
    }
    p.x0 = copy.x0;
    p.y0 = copy.y0;
    p.valid = true;
    return p;
}

void PlateToSky(const PlateSolution& p, double x, double y, double* ra, double* de) {
    double xi = 0.0, eta = 0.0;
    Evaluate(p, x - p.x0, y - p.y0, &xi, &eta);
    const double norm = std::sqrt(xi * xi + 1.0 + eta * eta);
    double d[3];
    for (int c = 0; c < 3; ++c) d[c] = (xi * p.west[c] + p.cen[c] + eta * p.south[c]) / norm;
    double r = std::atan2(d[1], d[0]);
    if (r < 0) r += 2 * kPi;
    *ra = r * 12.0 / kPi;
    *de = std::asin(std::fmax(-1.0, std::fmin(1.0, d[2]))) * 180.0 / kPi;
}

bool SkyToPlate(const PlateSolution& p, double ra, double de, double* x, double* y) {
    if (!p.valid) return false;
    const double a = ra * kPi / 12.0, b = de * kPi / 180.0;
    const double s[3] = {std::cos(a) * std::cos(b), std::sin(a) * std::cos(b), std::sin(b)};
    const double q = Dot(s, p.cen);
    if (q < std::cos(80.0 * kPi / 180.0)) return false;
    const double xi = Dot(s, p.west) / q;
    const double eta = Dot(s, p.south) / q;

    // The linear terms by Cramer's rule, as ShiftedPosition solves them.
    const double a11 = p.pc[1][1], a12 = p.pc[2][1], a21 = p.pc[1][2], a22 = p.pc[2][2];
    const double det = a11 * a22 - a12 * a21;
    if (det == 0.0) return false;
    double X = ((xi - p.pc[3][1]) * a22 - (eta - p.pc[3][2]) * a12) / det;
    double Y = ((eta - p.pc[3][2]) * a11 - (xi - p.pc[3][1]) * a21) / det;
    if (p.order > 1) {
        bool settled = false;
        for (int i = 0; i < 30 && !settled; ++i) {
            double fxi = 0.0, feta = 0.0, d[4];
            Evaluate(p, X, Y, &fxi, &feta, d);
            const double jdet = d[0] * d[3] - d[1] * d[2];
            if (jdet == 0.0 || !std::isfinite(jdet)) return false;
            const double rx = xi - fxi, ry = eta - feta;
            const double dX = (rx * d[3] - ry * d[1]) / jdet;
            const double dY = (ry * d[0] - rx * d[2]) / jdet;
            X += dX;
            Y += dY;
            // A millionth of a pixel (0.012 mm).
            settled = std::fabs(dX) + std::fabs(dY) < 1.2e-8;
        }
        if (!settled) return false;
    }
    if (!std::isfinite(X) || !std::isfinite(Y)) return false;
    *x = X + p.x0;
    *y = Y + p.y0;
    return true;
}
