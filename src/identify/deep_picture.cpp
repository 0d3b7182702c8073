#include "identify/deep_picture.h"

#include <algorithm>
#include <cmath>

#include "image/still_file_image.h"

namespace {
constexpr double kRampBlackPercentile = 1.0;
constexpr double kRampWhitePercentile = 99.99;
}  // namespace

GreyView MeasuringPicture::View() const {
    GreyView v;
    v.bottom_row = rows.data();
    v.stride = width;
    v.width = width;
    v.height = height;
    return v;
}

MeasuringPicture LinearPicture(const DeepSamples& samples) {
    MeasuringPicture p;
    p.width = samples.width;
    p.height = samples.height;
    p.rows.assign(static_cast<std::size_t>(p.width) * p.height, 0);
    const StretchHistogram histogram(samples);
    if (histogram.empty()) return p;
    const float black = histogram.Percentile(kRampBlackPercentile);
    float white = histogram.Percentile(kRampWhitePercentile);
    if (!(white > black)) white = histogram.max > black ? histogram.max : black + 1;
    const double scale = 255.0 / (white - black);
    for (std::size_t i = 0; i < p.rows.size(); ++i) {
        const float v = samples.values[i];
        if (!std::isfinite(v)) continue;  // a blank FITS pixel stays black
        p.rows[i] = static_cast<std::uint8_t>(std::clamp((v - black) * scale + 0.5, 0.0, 255.0));
    }
    return p;
}

GreyView IdentificationView(const MeteorImage& image, MeasuringPicture& keep) {
    if (const auto* still = dynamic_cast<const StillFileImage*>(&image); still && still->IsDeep()) {
        keep = LinearPicture(still->samples);
        return keep.View();
    }
    return GreyView::OfDib(image.picture, image.width, image.height);
}
