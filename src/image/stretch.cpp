#include "image/stretch.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "image/packed_dib.h"
#include "platform/c_locale.h"

namespace {

constexpr std::size_t kBins = 65536;
// Beyond this many samples the histogram counts about this many: choosing
// the points then costs a millisecond or two whatever the picture's size.
constexpr std::size_t kMostCounted = std::size_t{1} << 20;
// Counted samples come in runs of consecutive ones (a page of floats), so
// that a large picture is read in a thousand short sequential pieces rather
// than one sample per cache line across all of it. There is one run in each
// stretch of stride x kRun samples, at a place that wanders through the
// stretch (steps of the golden ratio): whatever the picture's width, no
// band of columns is left out.
constexpr std::size_t kRun = 1024;

// Calls f with every counted value: all of them in a picture up to
// kMostCounted samples, otherwise one run of kRun in each stretch.
template <class F>
void ForEachCounted(const DeepSamples& s, F f) {
    const std::size_t n = s.values.size();
    const float* v = s.values.data();
    if (n <= kMostCounted) {
        for (std::size_t i = 0; i < n; ++i) f(v[i]);
        return;
    }
    // Below 2 x kMostCounted samples the slack is 0 and every sample counts.
    const std::size_t step = n / kMostCounted * kRun;
    const std::size_t slack = step - kRun;
    double wander = 0;
    for (std::size_t start = 0; start < n; start += step) {
        const std::size_t first = start + static_cast<std::size_t>(wander * static_cast<double>(slack + 1));
        const std::size_t end = std::min(n, first + kRun);
        for (std::size_t i = first; i < end; ++i) f(v[i]);
        wander += 0.6180339887498949;
        wander -= std::floor(wander);
    }
}

}  // namespace

StretchHistogram::StretchHistogram(const DeepSamples& s) {
    // Locals, not the members: the compiler cannot know the samples do not
    // alias them and would store them back at every sample.
    float lo = 0, hi = 0;
    bool any = false;
    ForEachCounted(s, [&](float v) {
        if (!std::isfinite(v)) return;
        if (!any) lo = hi = v, any = true;
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    });
    if (!any) return;
    min = lo;
    max = hi;
    const double range = static_cast<double>(max) - min;
    // Whole numbers spanning fewer values than there are bins each get their
    // own bin, so the percentiles are exact samples.
    bin_width = s.integer && range < kBins ? 1.0 : std::max(range / (kBins - 1), 1e-30);
    const auto per_bin = static_cast<float>(1.0 / bin_width);
    counts.assign(kBins, 0);
    std::uint64_t* bins = counts.data();
    std::uint64_t counted = 0;
    ForEachCounted(s, [&](float v) {
        if (!std::isfinite(v)) return;
        // Non-negative and finite: the cast is defined; rounding may move a
        // value of wide data into the next bin, never out of the histogram.
        const float b = std::max((v - lo) * per_bin, 0.0f);
        ++bins[std::min(static_cast<std::size_t>(std::min(b, 1e9f)), kBins - 1)];
        ++counted;
    });
    total = counted;
}

float StretchHistogram::Percentile(double p) const {
    if (total == 0) return 0;
    const auto k = static_cast<std::uint64_t>(std::floor(p / 100.0 * static_cast<double>(total - 1)));
    std::uint64_t below = 0;
    for (std::size_t b = 0; b < counts.size(); ++b) {
        below += counts[b];
        if (below > k) return static_cast<float>(min + b * bin_width);
    }
    return max;
}

StretchPoints AutomaticStretch(const DeepSamples& s) {
    const StretchHistogram h(s);
    if (h.empty()) return {0, 1};
    StretchPoints p{h.Percentile(kBlackPercentile), h.Percentile(kWhitePercentile)};
    if (!(p.white > p.black)) p = {h.min, h.max};
    if (!(p.white > p.black)) p.white = p.black + 1;
    // A black point so large that adding 1 changes nothing still needs a ramp.
    if (!(p.white > p.black)) p.white = std::nextafter(p.black, INFINITY);
    return p;
}

std::uint8_t StretchLevel(float v, StretchPoints p) {
    const float scale = 255.0f / (p.white - p.black);
    float t = (v - p.black) * scale + 0.5f;
    t = t > 0.0f ? t : 0.0f;  // also a NaN sample
    t = t < 255.0f ? t : 255.0f;
    return static_cast<std::uint8_t>(t);
}

namespace {

// One row of levels: the arithmetic of StretchLevel, four samples at a time
// where the processor has SSE2 (every x86-64 does). MAXPS and MINPS return
// their second operand for a NaN, as the comparisons of StretchLevel do.
void StretchRow(const float* in, std::uint8_t* out, int n, float black, float scale) {
    int x = 0;
#if defined(__SSE2__)
    const __m128 b = _mm_set1_ps(black), s = _mm_set1_ps(scale), half = _mm_set1_ps(0.5f);
    const __m128 zero = _mm_setzero_ps(), top = _mm_set1_ps(255.0f);
    const auto levels = [&](const float* p) {
        __m128 t = _mm_add_ps(_mm_mul_ps(_mm_sub_ps(_mm_loadu_ps(p), b), s), half);
        t = _mm_min_ps(_mm_max_ps(t, zero), top);
        return _mm_cvttps_epi32(t);
    };
    for (; x + 16 <= n; x += 16) {
        const __m128i lo = _mm_packs_epi32(levels(in + x), levels(in + x + 4));
        const __m128i hi = _mm_packs_epi32(levels(in + x + 8), levels(in + x + 12));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), _mm_packus_epi16(lo, hi));
    }
#endif
    for (; x < n; ++x) {
        float t = (in[x] - black) * scale + 0.5f;
        t = t > 0.0f ? t : 0.0f;
        t = t < 255.0f ? t : 255.0f;
        out[x] = static_cast<std::uint8_t>(static_cast<int>(t));
    }
}

}  // namespace

void StretchPicture(const DeepSamples& s, StretchPoints p, std::vector<std::uint8_t>& dib) {
    const float scale = 255.0f / (p.white - p.black);
    for (int row = 0; row < s.height; ++row) StretchRow(s.Row(row), packed_dib::Row(dib, s.width, row), s.width, p.black, scale);
}

std::optional<StretchPoints> SteppedStretch(StretchPoints automatic, int black_step, int white_step) {
    if (black_step < kMinStretchStep || black_step > kMaxStretchStep) return std::nullopt;
    if (white_step < kMinStretchStep || white_step > kMaxStretchStep) return std::nullopt;
    const double range = static_cast<double>(automatic.white) - automatic.black;
    const StretchPoints p{static_cast<float>(automatic.black + black_step * range / 8),
                          static_cast<float>(automatic.black + range * std::exp2(white_step / 2.0))};
    if (!(p.white > p.black)) return std::nullopt;
    return p;
}

std::string StretchPointsText(StretchPoints p) {
    CNumericLocale c_numbers;
    char text[64];
    std::snprintf(text, sizeof text, "Black %.6g   White %.6g", p.black, p.white);
    return text;
}
