#include "identify/star_detection.h"

#include <algorithm>
#include <cmath>

namespace {

// A maximum is a candidate when it stands this many noise sigmas (and at
// least kMinLevels grey levels) above its block's sky.
constexpr double kCandidateSigmas = 5.0;
constexpr double kMinLevels = 3.0;
// Local maxima centroided at most: the brightest of them by peak.
constexpr std::size_t kMostCandidates = 4000;
// Two centroids closer than this are one star (a saturated plateau or a
// star found from two of its pixels).
constexpr double kSameStar = 2.0;
// A single hot pixel is no star: some neighbour must carry light as well.
constexpr double kNeighbourSigmas = 2.0;
// The largest ratio of the second moments along and across a star image.
constexpr double kMostElongation = 4.0;

struct Candidate {
    int column, row;
    int peak;
};

// Median and clipped spread of a histogram of grey levels.
void LevelAndNoise(const std::vector<int>& hist, int count, double& level, double& noise) {
    int seen = 0, median = 0;
    for (int g = 0; g < 256; ++g) {
        seen += hist[g];
        if (2 * seen >= count) {
            median = g;
            break;
        }
    }
    // Quartiles give a first spread; the levels within three of them give
    // the sigma (whole grey levels make the quartiles alone too coarse).
    int q1 = 0, q3 = 255;
    seen = 0;
    for (int g = 0; g < 256; ++g) {
        seen += hist[g];
        if (4 * seen >= count) {
            q1 = g;
            break;
        }
    }
    seen = 0;
    for (int g = 0; g < 256; ++g) {
        seen += hist[g];
        if (4 * seen >= 3 * count) {
            q3 = g;
            break;
        }
    }
    const double clip = std::max(3.0 * (q3 - q1) / 1.349, 2.0);
    double sum = 0, squares = 0, n = 0;
    for (int g = std::max(0, static_cast<int>(median - clip)); g <= std::min(255, static_cast<int>(median + clip)); ++g) {
        sum += double(hist[g]) * g;
        squares += double(hist[g]) * g * g;
        n += hist[g];
    }
    const double mean = n > 0 ? sum / n : median;
    level = median;
    noise = n > 0 ? std::sqrt(std::max(squares / n - mean * mean, 0.0)) : 0.0;
}

}  // namespace

SkyGrid::SkyGrid(const GreyView& p) {
    columns_ = static_cast<std::size_t>((p.width + block_ - 1) / block_);
    const std::size_t rows = static_cast<std::size_t>((p.height + block_ - 1) / block_);
    level_.assign(columns_ * rows, 0.0);
    noise_.assign(columns_ * rows, 0.0);
    std::vector<int> hist(256);
    for (std::size_t br = 0; br < rows; ++br)
        for (std::size_t bc = 0; bc < columns_; ++bc) {
            std::fill(hist.begin(), hist.end(), 0);
            const int r0 = static_cast<int>(br) * block_, c0 = static_cast<int>(bc) * block_;
            const int r1 = std::min(p.height, r0 + block_), c1 = std::min(p.width, c0 + block_);
            for (int r = r0; r < r1; ++r) {
                const std::uint8_t* row = p.bottom_row + r * p.stride;
                for (int c = c0; c < c1; ++c) ++hist[row[c]];
            }
            LevelAndNoise(hist, (r1 - r0) * (c1 - c0), level_[br * columns_ + bc], noise_[br * columns_ + bc]);
        }
}

std::vector<DetectedStar> DetectStars(const GreyView& p, std::size_t most) {
    std::vector<DetectedStar> stars;
    if (p.width < 16 || p.height < 16) return stars;
    const SkyGrid sky(p);
    std::vector<Candidate> candidates;
    for (int r = 1; r < p.height - 1; ++r) {
        const std::uint8_t* below = p.bottom_row + (r - 1) * p.stride;
        const std::uint8_t* row = below + p.stride;
        const std::uint8_t* above = row + p.stride;
        for (int c = 1; c < p.width - 1; ++c) {
            const int v = row[c];
            // Quick refusal of plain sky before the block's numbers are looked up.
            if (v <= row[c - 1] && v <= row[c + 1]) continue;
            if (v < row[c - 1] || v < row[c + 1] || v < below[c - 1] || v < below[c] || v < below[c + 1] ||
                v < above[c - 1] || v < above[c] || v < above[c + 1])
                continue;
            // On a plateau only its first pixel (from the left, then from below) counts.
            if (v == row[c - 1] || v == below[c - 1] || v == below[c] || v == below[c + 1]) continue;
            const double level = sky.Level(c, r), noise = sky.Noise(c, r);
            if (v - level < std::max(kCandidateSigmas * noise, kMinLevels)) continue;
            if (v >= 255 && level >= 250) continue;  // overexposed: no sky to stand out of
            const double lit = level + kNeighbourSigmas * noise;
            const int neighbours = (row[c - 1] > lit) + (row[c + 1] > lit) + (below[c] > lit) + (above[c] > lit);
            if (neighbours < 2) continue;
            candidates.push_back({c, r, v});
        }
    }
    std::stable_sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) { return a.peak > b.peak; });
    if (candidates.size() > kMostCandidates) candidates.resize(kMostCandidates);

    for (const Candidate& c : candidates) {
        const CentroidResult found = StarCentroid(p, c.column + 0.5, c.row + 0.5);
        if (!found.centre) continue;
        const StarCentre& s = *found.centre;
        const bool known = std::any_of(stars.begin(), stars.end(), [&](const DetectedStar& d) {
            return std::hypot(d.x - s.x, d.y - s.y) < kSameStar;
        });
        if (known) continue;
        double flux = 0, xx = 0, yy = 0, xy = 0;
        const int reach = s.radius;
        for (int r = static_cast<int>(s.y) - reach; r <= static_cast<int>(s.y) + reach; ++r)
            for (int col = static_cast<int>(s.x) - reach; col <= static_cast<int>(s.x) + reach; ++col) {
                if (r < 0 || col < 0 || r >= p.height || col >= p.width) continue;
                const double dx = col + 0.5 - s.x, dy = r + 0.5 - s.y;
                if (std::hypot(dx, dy) > reach) continue;
                const double light = p.At(col, r) - s.background;
                if (light <= kNeighbourSigmas * s.noise) continue;
                flux += light;
                xx += light * dx * dx;
                yy += light * dy * dy;
                xy += light * dx * dy;
            }
        if (flux <= 0) continue;
        // A dash of a meteor trail, a satellite or an aircraft is long and
        // thin; a star image is round.
        const double mean = (xx + yy) / 2, diff = std::sqrt((xx - yy) * (xx - yy) / 4 + xy * xy);
        if (mean - diff <= 0 || mean + diff > kMostElongation * (mean - diff)) continue;
        stars.push_back({s.x, s.y, flux});
    }
    std::stable_sort(stars.begin(), stars.end(), [](const DetectedStar& a, const DetectedStar& b) { return a.flux > b.flux; });
    if (stars.size() > most) stars.resize(most);
    return stars;
}
