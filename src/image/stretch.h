#pragma once
// The display stretch of pictures deeper than 8 bits. The source keeps its
// samples at full depth; the 8-bit picture everyone measures on is a linear
// ramp between a black point (level 0) and a white point (level 255):
//
//   level = clamp(trunc((v - black) * 255 / (white - black) + 0.5), 0, 255)
//
// that is, rounded to the nearest level. A sample that is not a number
// (a blank FITS pixel) is shown black. The display colour table (brightness,
// contrast, inversion) then acts on these levels exactly as on any 8-bit
// picture.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/default_init_allocator.h"

// The samples of a deep picture, rows bottom first like the picture, each
// row `width` samples without padding. Kept as 32-bit floats: every integer
// up to 2^24 (all 8-, 12-, 14- and 16-bit data, with or without a FITS
// BZERO) is held exactly.
struct DeepSamples {
    int width = 0;
    int height = 0;
    // Filled completely by the reader that allocates it: not zeroed first.
    std::vector<float, DefaultInitAllocator<float>> values;
    // Every value is a whole number: the histogram then counts each value
    // apart when the range allows, and the chosen points are exact samples.
    bool integer = true;

    bool empty() const { return values.empty(); }
    float* Row(int row) { return values.data() + static_cast<std::size_t>(width) * row; }
    const float* Row(int row) const { return values.data() + static_cast<std::size_t>(width) * row; }
};

struct StretchPoints {
    float black = 0;
    float white = 1;
    bool operator==(const StretchPoints&) const = default;
};

// Percentiles of the automatic stretch: the median is the sky background,
// shown black; the white point lets the brightest half percent (stars, the
// meteor) saturate.
constexpr double kBlackPercentile = 50.0;
constexpr double kWhitePercentile = 99.5;

// The sample at percentile p of the finite samples: the k-th smallest with
// k = floor(p / 100 * (n - 1)). Integer data whose range spans fewer than
// 65 536 values give the exact sample; wider or fractional data the lower
// edge of one of 65 536 equal bins. Of a picture of more than 1 048 576
// samples about that many are counted, in runs of 1 024 consecutive
// samples spread through it, which moves the result by a small fraction of
// a percentile only.
struct StretchHistogram {
    explicit StretchHistogram(const DeepSamples& s);
    float Percentile(double p) const;
    bool empty() const { return total == 0; }

    float min = 0, max = 0;
    double bin_width = 1;
    std::uint64_t total = 0;
    std::vector<std::uint64_t> counts;
};

// The points chosen at load: black the median, white the 99.5th percentile.
// When these coincide (a picture mostly of one value) the extremes are
// used instead; a picture of a single value (or of no finite value) gets
// white = black + 1.
StretchPoints AutomaticStretch(const DeepSamples& s);

// The level of one sample under the points (the ramp above).
std::uint8_t StretchLevel(float v, StretchPoints p);

// Writes the levels of every sample into the pixel rows of a packed DIB of
// the samples' size; header and colour table are left alone.
void StretchPicture(const DeepSamples& s, StretchPoints p, std::vector<std::uint8_t>& dib);

// Steps of the black and white points, as the image dialog offers them.
constexpr int kMinStretchStep = -15;
constexpr int kMaxStretchStep = 15;

// The points after black and white steps away from the automatic ones. With
// R = automatic white - automatic black, a black step moves the black point
// by R / 8; the white point lies R * 2^(step / 2) above the automatic black,
// so each white step widens or narrows the ramp by a factor of 1.41. Nothing
// when a step lies outside -15..+15 or the white point would not lie above
// the black one.
std::optional<StretchPoints> SteppedStretch(StretchPoints automatic, int black_step, int white_step);

// The points as the image dialog shows them, in the data's own units with
// six significant digits: "Black 1000   White 3000".
std::string StretchPointsText(StretchPoints p);
