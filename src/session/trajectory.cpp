// The meteor's great circle, its angular velocity along it, and the
// prediction of the next meteor point.

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "astro/astrofun.h"
#include "astro/solver.h"
#include "image/meteor_image.h"
#include "platform/c_locale.h"
#include "session/session_data.h"

namespace {
// Projection of the unit vector p onto the great circle with this pole.
void OntoCircle(const float p[3], const float pole[3], float q[3]) {
    const float c = in_p(p, pole);
    const double norm = std::sqrt(std::max(0.0, 1.0 - static_cast<double>(c) * c));
    for (int i = 0; i < 3; ++i) q[i] = static_cast<float>((p[i] - c * pole[i]) / norm);
}

bool ImageIsVideo() { return Mimg != nullptr && Mimg->IsVideo(); }
}  // namespace

void SessionData::vlak(const float* X, const float* Y, const float* Z, float pole[3], float begin[3],
                       float end[3]) const {
    if (nmet < 2) throw NumericalError("At least two meteor points are needed for a great circle.");
    const unsigned int last = nmet - 1;
    const float p0[3] = {X[0], Y[0], Z[0]};
    const float pn[3] = {X[last], Y[last], Z[last]};
    float p[3];
    out_p(p0, pn, p);

    int c = 0;
    if (std::fabs(p[1]) >= std::fabs(p[0])) c = 1;
    if (std::fabs(p[c]) < std::fabs(p[2])) c = 2;

    // Plane through the origin with the dominant component of its normal
    // fixed to 1: d + a u + b v = 0 in the least-squares sense.
    const float* comp[3] = {X, Y, Z};
    const float* d = comp[c];
    const float* u = comp[c == 0 ? 1 : 0];
    const float* v = comp[c == 2 ? 1 : 2];
    Matrix a = matrix(1, 2, 1, 2);
    Matrix b = matrix(1, 2, 1, 1);
    for (unsigned int i = 0; i < nmet; ++i) {
        a[1][1] += static_cast<double>(u[i]) * u[i];
        a[1][2] += static_cast<double>(u[i]) * v[i];
        a[2][2] += static_cast<double>(v[i]) * v[i];
        b[1][1] -= static_cast<double>(d[i]) * u[i];
        b[2][1] -= static_cast<double>(d[i]) * v[i];
    }
    a[2][1] = a[1][2];
    gaussj(a, 2, b, 1);

    const double ca = b[1][1];
    const double cb = b[2][1];
    const double norm = std::sqrt(ca * ca + 1.0 + cb * cb);
    double n[3];
    n[c] = 1.0;
    n[c == 0 ? 1 : 0] = ca;
    n[c == 2 ? 1 : 2] = cb;
    for (int i = 0; i < 3; ++i) pole[i] = static_cast<float>(n[i] / norm);

    OntoCircle(p0, pole, begin);
    OntoCircle(pn, pole, end);
}

void SessionData::hoeksnelheid(const float* X, const float* Y, const float* Z, const float pole[3], float& w,
                               float& dw) const {
    // On a photograph the first and last breaks are often cut by the
    // exposure; a short video uses every point it has.
    unsigned int first = 0;
    unsigned int count = nmet;
    if (nmet >= 6 || !ImageIsVideo()) {
        first = 1;
        count = nmet >= 2 ? nmet - 2 : 0;
    }
    const double shutter = AtofC(dlgdat.shutter);
    if (count < 2 || shutter == 0.0) {
        w = dw = 0.0f;
        return;
    }

    std::vector<float> ang(count), t(count);
    float qf[3];
    {
        const float p[3] = {X[first], Y[first], Z[first]};
        OntoCircle(p, pole, qf);
    }
    double tm = 0.0;
    double am = 0.0;
    for (unsigned int j = 0; j < count; ++j) {
        const unsigned int i = first + j;
        float q[3];
        const float p[3] = {X[i], Y[i], Z[i]};
        OntoCircle(p, pole, q);
        // Nearly identical directions can give a cosine just above 1.
        ang[j] = j == 0 ? 0.0f : static_cast<float>(std::acos(std::clamp(in_p(qf, q), -1.0f, 1.0f)));
        t[j] = static_cast<float>(meteors[i].frame / shutter);
        tm += t[j];
        am += ang[j];
    }
    tm /= count;
    am /= count;

    double stt = 0.0;
    double sta = 0.0;
    for (unsigned int j = 0; j < count; ++j) {
        stt += (t[j] - tm) * (t[j] - tm);
        sta += (t[j] - tm) * ang[j];
    }
    if (stt == 0.0) {
        // All points carry the same time: there is no velocity to fit.
        w = dw = 0.0f;
        return;
    }
    double slope = sta / stt;
    const double intercept = am - slope * tm;
    if (slope < 0.0) slope = 0.0;
    w = static_cast<float>(slope);

    double s = 0.0;
    for (unsigned int j = 0; j < count; ++j) {
        const double r = ang[j] - intercept - slope * t[j];
        s += r * r;
    }
    if (count > 2)
        dw = static_cast<float>(std::sqrt(s / (count - 2) / stt));
    else
        dw = static_cast<float>(1.4 * sd * 3.141592654 / 180.0);
}

void SessionData::NextMeteor(int& px, int& py, int frame) {
    const unsigned int n = nmet;
    if (mstart > n) return;
    const unsigned int d = n - mstart;
    if (d <= 1) return;
    auto X = [this](unsigned int i) { return meteors[i].x[0]; };
    auto Y = [this](unsigned int i) { return meteors[i].y[0]; };

    if (d == 2) {
        const unsigned int a = mstart;
        const unsigned int b = mstart + 1;
        const float dx = X(b) - X(a);
        const float dy = Y(b) - Y(a);
        if (ImageIsVideo()) {
            px = static_cast<int>((X(b) + dx) * 83.3333) - 40;
            py = static_cast<int>((Y(b) + dy) * 83.3333) - 40;
        } else {
            const float l = std::sqrt(dx * dx + dy * dy);
            if (l == 0.0f) return;
            // A still image: one step of 38 pixels along the trail.
            px = static_cast<int>(38 * dx / l + 83.3333 * X(b)) - 40;
            py = static_cast<int>(38 * dy / l + 83.3333 * Y(b)) - 40;
        }
        return;
    }

    const float d1x = X(n - 2) - X(n - 3);
    const float d1y = Y(n - 2) - Y(n - 3);
    const float d2x = X(n - 1) - X(n - 2);
    const float d2y = Y(n - 1) - Y(n - 2);
    const float l1 = std::sqrt(d1x * d1x + d1y * d1y);
    const float l2 = std::sqrt(d2x * d2x + d2y * d2y);
    if (l1 == 0.0f || l2 == 0.0f) return;
    const bool reversed = d1x * d2x + d1y * d2y < 0.0f;
    const bool turned = std::fabs(d1x * d2y - d1y * d2x) / (l1 * l2) > 0.4f;  // more than about 23.6 degrees
    const bool jumped = 5 * l1 < l2;
    if (reversed || turned || jumped) {
        // The trail bent: a new straight run starts at the last point.
        mstart = n - 1;
        return;
    }
    const unsigned int r = d < 6 ? mstart + 1 : n - 5;
    const int frames = meteors[n - 1].frame - meteors[r].frame;
    if (frames == 0) return;
    const float dx = X(n - 1) - X(r);
    const float dy = Y(n - 1) - Y(r);
    const int k = frame >= 0 ? frame - meteors[n - 1].frame : 1;
    px = static_cast<int>((k * dx / frames + X(n - 1)) * 83.3333) - 40;
    py = static_cast<int>((k * dy / frames + Y(n - 1)) * 83.3333) - 40;
}
