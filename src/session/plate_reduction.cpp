// The plate reduction: least-squares plate constants of the visible stars,
// sky positions of plate positions, residuals and standard deviation, the
// surround of the meteor by the stars, and manual order changes.

#include <cmath>
#include <optional>
#include <vector>

#include "astro/astrofun.h"
#include "image/meteor_image.h"
#include "session/flat_hull.h"
#include "session/hull_candidates.h"
#include "session/session_data.h"
#include "session/session_snapshot.h"

namespace {
constexpr double kPi = 3.14159265358979323846;

// Basis functions of the plate coordinates, f[1..n]: X, Y, 1; then X^2, XY,
// Y^2; then X^3, X^2 Y, X Y^2, Y^3.
void Basis(double X, double Y, int order, double* f) {
    f[1] = X;
    f[2] = Y;
    f[3] = 1.0;
    if (order > 1) {
        f[4] = X * X;
        f[5] = X * Y;
        f[6] = Y * Y;
    }
    if (order > 2) {
        f[7] = X * X * X;
        f[8] = X * X * Y;
        f[9] = X * Y * Y;
        f[10] = Y * Y * Y;
    }
}


// Tangent-plane unit vectors at the plate centre: south points to
// decreasing declination, west to decreasing right ascension.
void TangentVectors(float racen, float decen, float south[3], float west[3]) {
    const double ra = racen;
    const double de = decen;
    south[0] = static_cast<float>(std::cos(ra) * std::sin(de));
    south[1] = static_cast<float>(std::sin(ra) * std::sin(de));
    south[2] = static_cast<float>(-std::cos(de));
    west[0] = static_cast<float>(std::sin(ra));
    west[1] = static_cast<float>(-std::cos(ra));
    west[2] = 0.0f;
}
}  // namespace

// The unit vector of star i's observation-date position. The analysis view
// fits the plate once per star on every redraw, so the vectors are kept with
// the position they were made from and made anew when that changes.
void SessionData::StarDirection(unsigned int i, float r[3]) const {
    const Star& s = stars[i];
    if (directions_.size() < nstar) directions_.resize(nstar);
    StarDirectionMemo& memo = directions_[i];
    if (!(memo.raobs == s.raobs && memo.deobs == s.deobs)) {
        rade_r(static_cast<float>(s.raobs * kPi / 12.0), static_cast<float>(s.deobs * kPi / 180.0), memo.r);
        memo.raobs = s.raobs;
        memo.deobs = s.deobs;
    }
    r[0] = memo.r[0];
    r[1] = memo.r[1];
    r[2] = memo.r[2];
}

// Visible stars on one straight line cannot fix the plate constants. When
// the line is slanted, float positions are collinear only to rounding and the
// solver meets a tiny pivot instead of a zero one, so it would return a
// meaningless fit: the line is caught here by the spread of the positions
// across it, which rounding alone makes about 1e-7 of their length.
void SessionData::RejectCollinearStars() const {
    double n = 0, mx = 0, my = 0;
    for (unsigned int i = 0; i < nstar; ++i) {
        if (stars[i].hidden) continue;
        n += 1;
        mx += fxstr(static_cast<int>(i));
        my += fystr(static_cast<int>(i));
    }
    if (n == 0) nrerror("GAUSSJ: Singular Matrix-2");
    mx /= n;
    my /= n;
    double sxx = 0, syy = 0, sxy = 0;
    for (unsigned int i = 0; i < nstar; ++i) {
        if (stars[i].hidden) continue;
        const double dx = fxstr(static_cast<int>(i)) - mx, dy = fystr(static_cast<int>(i)) - my;
        sxx += dx * dx;
        syy += dy * dy;
        sxy += dx * dy;
    }
    // The squared ratio of the spread across the line to the spread along it.
    if (sxx * syy - sxy * sxy <= 1e-10 * (sxx + syy) * (sxx + syy)) nrerror("GAUSSJ: Singular Matrix-2");
}

void SessionData::PlateConstants(Matrix& pc, float cen[3], float south[3], float west[3], int ord) {
    Transactional(*this, [&] {
        RejectCollinearStars();
        const int n = NumConstants(ord);
        Matrix a = matrix(1, n, 1, n);
        std::vector<double> f(static_cast<size_t>(n) + 3, 0.0);

        if (racen == -1.0f && decen == 100.0f) {
            // No centre yet: the mean direction and mean position of the
            // visible stars.
            cen[0] = cen[1] = cen[2] = 0.0f;
            x0 = y0 = 0.0f;
            for (unsigned int i = 0; i < nstar; ++i) {
                if (stars[i].hidden) continue;
                float s[3];
                StarDirection(i, s);
                for (int c = 0; c < 3; ++c) cen[c] += s[c];
                x0 += fxstr(static_cast<int>(i));
                y0 += fystr(static_cast<int>(i));
            }
            const float norm = std::sqrt(in_p(cen, cen));
            for (int c = 0; c < 3; ++c) cen[c] /= norm;
            r_rade(cen, racen, decen);
            x0 /= static_cast<float>(Visible());
            y0 /= static_cast<float>(Visible());
        } else {
            rade_r(racen, decen, cen);
        }
        TangentVectors(racen, decen, south, west);

        // Sums in plain arrays (n is at most 10), copied into the solver's
        // matrices once; the normal matrix is symmetric, so only its upper
        // half is summed and the lower half mirrors the same products.
        double sum_a[10][10] = {};
        double sum_b[10][2] = {};
        for (unsigned int i = 0; i < nstar; ++i) {
            if (stars[i].hidden) continue;
            const float X = fxstr(static_cast<int>(i)) - x0;
            const float Y = fystr(static_cast<int>(i)) - y0;
            Basis(X, Y, ord, f.data());
            float s[3];
            StarDirection(i, s);
            const float q = in_p(s, cen);
            f[n + 1] = in_p(s, west) / q;
            f[n + 2] = in_p(s, south) / q;
            const double* fb = f.data() + 1;  // fb[k - 1] is f[k]
            for (int k = 0; k < n; ++k) {
                for (int l = k; l < n; ++l) sum_a[k][l] += fb[k] * fb[l];
                sum_b[k][0] += fb[k] * f[n + 1];
                sum_b[k][1] += fb[k] * f[n + 2];
            }
        }
        for (int k = 1; k <= n; ++k) {
            for (int l = 1; l <= n; ++l) a[k][l] = l >= k ? sum_a[k - 1][l - 1] : sum_a[l - 1][k - 1];
            pc[k][1] = sum_b[k - 1][0];
            pc[k][2] = sum_b[k - 1][1];
        }
        gaussj(a, n, pc, 2);
    });
}

void SessionData::CalculateRADE(float X, float Y, float& ra, float& de, const Matrix& pc,
                                const float cen[3], const float south[3], const float west[3]) const {
    double f[11];
    Basis(X, Y, order, f);
    const int n = NumConstants(order);
    double xi = 0.0;
    double eta = 0.0;
    for (int k = 1; k <= n; ++k) {
        xi += pc[k][1] * f[k];
        eta += pc[k][2] * f[k];
    }
    // Inverse gnomonic projection.
    const double norm = std::sqrt(xi * xi + 1.0 + eta * eta);
    float d[3];
    for (int c = 0; c < 3; ++c) d[c] = static_cast<float>((xi * west[c] + cen[c] + eta * south[c]) / norm);
    float ra_rad;
    float de_rad;
    r_rade(d, ra_rad, de_rad);
    ra = static_cast<float>(ra_rad * 3.819718634205488);
    de = static_cast<float>(de_rad * 57.29577951308232);
}

void SessionData::EstimateRADE(float x, float y, float& ra, float& de) {
    Transactional(*this, [&] {
        const int n = NumConstants(order);
        Matrix pc = matrix(1, n, 1, 2);
        float cen[3], south[3], west[3];
        PlateConstants(pc, cen, south, west, order);
        // The origin is the one after the fit, which may have set it.
        CalculateRADE(x - x0, y - y0, ra, de, pc, cen, south, west);
    });
}

// A trial computation reverses star k's hidden state (k = -1: none). The
// order rules choose the order used during the trial, but the order the
// observer chose survives it.
int SessionData::BeginTrial(int k) {
    const int order_before = order;
    if (k != -1) ToggleHidden(k);
    return order_before;
}

void SessionData::EndTrial(int k, int order_before) {
    if (k != -1) ToggleHidden(k);
    order = order_before;
}

void SessionData::CalculateOC(int k, float sdv[3], float* dra, float* dde) {
    for (unsigned int i = 0; i < nstar; ++i) dra[i] = dde[i] = 0.0f;
    sdv[1] = sdv[2] = 0.0f;

    const unsigned int v = Visible();
    const bool toggled_hidden = k >= 0 && static_cast<unsigned>(k) < nstar && stars[k].hidden;
    if (k == -1) {
        if (v < 4) return;
    } else if (toggled_hidden) {
        if (v < 3) return;
    } else if (v < 5) {
        return;
    }

    Transactional(*this, [&] {
        const int order_before = BeginTrial(k);

        const int n = NumConstants(order);
        if (Visible() <= static_cast<unsigned>(n)) {
            // An order read from a file may leave no degree of freedom: there
            // is no standard deviation to compute.
            EndTrial(k, order_before);
            return;
        }
        Matrix pc = matrix(1, n, 1, 2);
        float cen[3], south[3], west[3];
        PlateConstants(pc, cen, south, west, order);

        for (unsigned int i = 0; i < nstar; ++i) {
            const Star& s = stars[i];
            if (s.hidden) continue;
            float ra, de;
            CalculateRADE(fxstr(static_cast<int>(i)) - x0, fystr(static_cast<int>(i)) - y0, ra, de, pc, cen,
                          south, west);
            // A star near 0 h whose computed position lies across 0 h is
            // a small residual, not one of about 24 hours.
            float dh = s.raobs - ra;
            if (dh > 12.0f) dh -= 24.0f;
            if (dh < -12.0f) dh += 24.0f;
            dra[i] = static_cast<float>(std::cos(s.deobs * kPi / 180.0) * dh * 15.0);
            dde[i] = s.deobs - de;
            sdv[1] += dra[i] * dra[i];
            sdv[2] += dde[i] * dde[i];
        }
        const float nvis = static_cast<float>(Visible());
        sdv[0] = std::sqrt((sdv[1] + sdv[2]) / (nvis - static_cast<float>(n)) * 0.5f);
        sdv[1] = std::sqrt(sdv[1] / nvis);
        sdv[2] = std::sqrt(sdv[2] / nvis);

        if (k != -1) {
            EndTrial(k, order_before);
            return;
        }
        if (sdv[0] < sd || sd == 0.0f) {
            // The fit improved: the plate centre and origin move to the
            // image centre. Without an image there is no centre to move to.
            if (Mimg != nullptr) {
                const float xc = static_cast<float>(Mimg->width * 0.006);
                const float yc = static_cast<float>(Mimg->height * 0.006);
                float ra, de;
                CalculateRADE(xc - x0, yc - y0, ra, de, pc, cen, south, west);
                x0 = xc;
                y0 = yc;
                racen = static_cast<float>(ra * kPi / 12.0);
                decen = static_cast<float>(de * kPi / 180.0);
            }
        }
        sd = sdv[0];
    });
}

void SessionData::CalculateOC() {
    float sdv[3] = {0.0f, 0.0f, 0.0f};
    std::vector<float> dra(nstar), dde(nstar);
    CalculateOC(-1, sdv, dra.data(), dde.data());
}

void SessionData::ShiftedPosition(int i, float dt, float& x, float& y) {
    if (i < 0 || static_cast<unsigned>(i) >= nstar) return;
    Transactional(*this, [&] {
        Matrix pc = matrix(1, 3, 1, 2);
        float cen[3], south[3], west[3];
        // The prediction always uses the linear plate constants.
        PlateConstants(pc, cen, south, west, 1);
        float ra = stars[i].raobs + dt;
        while (ra >= 24.0f) ra -= 24.0f;
        while (ra < 0.0f) ra += 24.0f;
        float s[3];
        rade_r(static_cast<float>(ra * kPi / 12.0), static_cast<float>(stars[i].deobs * kPi / 180.0), s);
        const float q = in_p(s, cen);
        const double xi = in_p(s, west) / q;
        const double eta = in_p(s, south) / q;
        const double det = pc[1][1] * pc[2][2] - pc[1][2] * pc[2][1];
        const double X = ((xi - pc[3][1]) * pc[2][2] - (eta - pc[3][2]) * pc[2][1]) / det;
        const double Y = ((eta - pc[3][2]) * pc[1][1] - (xi - pc[3][1]) * pc[1][2]) / det;
        x = static_cast<float>(X + x0);
        y = static_cast<float>(Y + y0);
    });
}

float SessionData::Getsurround(int k) {
    if (nmet == 0) return 0.0f;
    const unsigned int v = Visible();
    const bool toggled_hidden = k >= 0 && static_cast<unsigned>(k) < nstar && stars[k].hidden;
    if (k == -1) {
        if (v < 3) return 0.0f;
    } else if (toggled_hidden) {
        if (v < 2) return 0.0f;
    } else if (v < 4) {
        return 0.0f;
    }
    return Transactional(*this, [&] {
        const int order_before = BeginTrial(k);

        const unsigned int ns = nstar;
        std::vector<float> xs(ns), ys(ns);
        for (unsigned int i = 0; i < ns; ++i) {
            xs[i] = fxstr(static_cast<int>(i));
            ys[i] = fystr(static_cast<int>(i));
        }
        auto angle = [&](unsigned int from, unsigned int to) {
            return static_cast<float>(std::atan2(ys[to] - ys[from], xs[to] - xs[from]));
        };

        // Gift wrapping from the topmost visible star, counter-clockwise.
        std::vector<unsigned int> visible;
        visible.reserve(ns);
        for (unsigned int i = 0; i < ns; ++i)
            if (!stars[i].hidden) visible.push_back(i);
        std::vector<unsigned int> hull(ns + 1);
        hull[0] = visible[0];
        for (unsigned int i : visible)
            if (ys[i] > ys[hull[0]]) hull[0] = i;
        const std::vector<unsigned int> candidates = HullCandidates(xs, ys, visible);
        unsigned int m = 1;
        for (;; ++m) {
            const unsigned int cur = hull[m - 1];
            const float previous = m == 1 ? -3.14159274f : angle(hull[m - 2], cur);
            float best = 3.14159274f;
            bool found = false;
            for (unsigned int i : candidates) {
                if (i == cur) continue;
                const float a = angle(cur, i);
                if (previous <= a && a < best) {
                    best = a;
                    hull[m] = i;
                    found = true;
                }
            }
            if (!found) hull[m] = hull[0];
            if (hull[m] == hull[0] || m == ns) break;
        }

        float cx = 0.0f;
        float cy = 0.0f;
        for (unsigned int b = 0; b < m; ++b) {
            cx += xs[hull[b]];
            cy += ys[hull[b]];
        }
        cx /= static_cast<float>(m);
        cy /= static_cast<float>(m);

        const std::optional<HullSegment> flat = FlatHull(xs, ys, hull, m);
        unsigned int inside = 0;
        for (unsigned int j = 0; j < nmet; ++j) {
            const float px = fxmet(static_cast<int>(j));
            const float py = fymet(static_cast<int>(j));
            bool in = true;
            if (flat) in = flat->Contains(px, py);
            for (unsigned int b = 0; b < m && in && !flat; ++b) {
                const unsigned int V = hull[b];
                const unsigned int W = hull[b + 1];
                const float nx = ys[W] - ys[V];
                const float ny = -(xs[W] - xs[V]);
                const float side_p = (px - xs[V]) * nx + (py - ys[V]) * ny;
                const float side_c = (cx - xs[V]) * nx + (cy - ys[V]) * ny;
                in = side_p * side_c >= 0.0f;
            }
            if (in) ++inside;
        }

        EndTrial(k, order_before);
        return static_cast<float>(inside) * 100.0f / static_cast<float>(nmet);
    });
}

int SessionData::PlusOrder() {
    const unsigned int v = Visible();
    if ((order == 1 && v > 6) || (order == 2 && v > 10)) {
        ++order;
        return 1;
    }
    return 0;
}

int SessionData::MinOrder() {
    if (order > 1) {
        --order;
        return 1;
    }
    return 0;
}
