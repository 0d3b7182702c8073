#include "measure/star_centroid.h"

#include <algorithm>
#include <cmath>

#include "image/packed_dib.h"

namespace {

constexpr int kFirstRadius = 3;
constexpr int kMaxRadius = 15;
constexpr int kAnnulusGap = 2;
constexpr int kAnnulusWidth = 4;
constexpr double kDetectionSigmas = 5.0;
constexpr double kMinPeakLevels = 3.0;
constexpr double kConverged = 0.01;
constexpr int kMaxIterations = 50;

double Median(std::vector<double>& v) {
    const auto mid = v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2);
    std::nth_element(v.begin(), mid, v.end());
    return *mid;
}

bool Inside(const GreyView& p, int c, int r) { return c >= 0 && r >= 0 && c < p.width && r < p.height; }

// Sky level and its spread in the ring between rin and rout around (x, y).
bool Background(const GreyView& p, double x, double y, int rin, int rout, double& level, double& noise) {
    std::vector<double> sky;
    const int c0 = static_cast<int>(std::floor(x - rout)), c1 = static_cast<int>(std::ceil(x + rout));
    const int r0 = static_cast<int>(std::floor(y - rout)), r1 = static_cast<int>(std::ceil(y + rout));
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c) {
            const double d = std::hypot(c + 0.5 - x, r + 0.5 - y);
            if (d >= rin && d <= rout && Inside(p, c, r)) sky.push_back(p.At(c, r));
        }
    if (sky.size() < 8) return false;
    level = Median(sky);
    std::vector<double> deviation(sky.size());
    for (std::size_t i = 0; i < sky.size(); ++i) deviation[i] = std::fabs(sky[i] - level);
    // The spread of the levels within three sigmas of the median (1.4826
    // turns a median absolute deviation into a sigma), so that a neighbour's
    // light is left out; whole grey levels make the deviation itself too
    // coarse to serve as the spread.
    const double clip = std::max(3.0 * 1.4826 * Median(deviation), 2.0);
    double sum = 0.0, squares = 0.0;
    int n = 0;
    for (const double v : sky) {
        if (std::fabs(v - level) > clip) continue;
        sum += v;
        squares += v * v;
        ++n;
    }
    const double mean = sum / n;
    noise = std::sqrt(std::max(squares / n - mean * mean, 0.0));
    return true;
}

struct Moments {
    double sum = 0.0, x = 0.0, y = 0.0, rr = 0.0, peak = 0.0;
    bool cut = false;  // the window reaches beyond the picture
};

// Pixels less than kFloorSigmas noise sigmas above the sky carry no weight,
// so that the noise neither pulls the centre nor swells the star's size.
constexpr double kFloorSigmas = 2.0;

Moments Weigh(const GreyView& p, double x, double y, int radius, double background, double floor) {
    Moments m;
    const int c0 = static_cast<int>(std::floor(x - radius)), c1 = static_cast<int>(std::ceil(x + radius));
    const int r0 = static_cast<int>(std::floor(y - radius)), r1 = static_cast<int>(std::ceil(y + radius));
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c) {
            const double dx = c + 0.5 - x, dy = r + 0.5 - y;
            if (dx * dx + dy * dy > double(radius) * radius) continue;
            if (!Inside(p, c, r)) {
                m.cut = true;
                continue;
            }
            const double w = p.At(c, r) - background;
            m.peak = std::max(m.peak, w);
            if (w <= floor) continue;
            m.sum += w;
            m.x += w * (c + 0.5);
            m.y += w * (r + 0.5);
            m.rr += w * (dx * dx + dy * dy);
        }
    return m;
}

}  // namespace

GreyView GreyView::OfDib(const std::vector<std::uint8_t>& dib, int width, int height) {
    GreyView v;
    v.width = width;
    v.height = height;
    v.bottom_row = dib.data() + packed_dib::kPixelOffset;
    v.stride = static_cast<std::ptrdiff_t>(packed_dib::Stride(width));
    return v;
}

CentroidResult StarCentroid(const GreyView& picture, double x, double y) {
    CentroidResult result;
    int radius = kFirstRadius;
    double level = 0.0, noise = 0.0;
    if (!Background(picture, x, y, radius + kAnnulusGap, radius + kAnnulusGap + kAnnulusWidth, level, noise))
        return result;
    Moments m = Weigh(picture, x, y, radius, level, kFloorSigmas * noise);
    if (m.peak < std::max(kDetectionSigmas * noise, kMinPeakLevels) || m.sum <= 0) return result;

    double cx = m.x / m.sum, cy = m.y / m.sum;
    for (int i = 0; i < kMaxIterations; ++i) {
        // The window follows the star's size: three sigmas of its profile
        // (the second moment about the centre is twice the variance).
        const double sigma = std::sqrt(m.rr / m.sum / 2.0);
        const int wanted = std::clamp(static_cast<int>(std::ceil(3.0 * sigma)) + 1, kFirstRadius, kMaxRadius);
        if (wanted != radius) {
            radius = wanted;
            if (!Background(picture, cx, cy, radius + kAnnulusGap, radius + kAnnulusGap + kAnnulusWidth, level,
                            noise))
                break;
        }
        m = Weigh(picture, cx, cy, radius, level, kFloorSigmas * noise);
        if (m.sum <= 0) return result;
        const double nx = m.x / m.sum, ny = m.y / m.sum;
        const double moved = std::hypot(nx - cx, ny - cy);
        cx = nx;
        cy = ny;
        if (moved < kConverged) break;
    }
    if (m.cut) {
        result.failure = CentroidFailure::AtTheEdge;
        return result;
    }
    result.centre = StarCentre{cx, cy, level, noise, m.peak, radius};
    return result;
}

std::string CentroidFailureText(CentroidFailure failure) {
    switch (failure) {
        case CentroidFailure::NoStar: return "No star stands out here: the click is kept.";
        case CentroidFailure::AtTheEdge: return "The star is too near the image edge: the click is kept.";
    }
    return {};
}
