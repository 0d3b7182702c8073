#include "shell/dialog_position.h"

#include <cmath>

namespace {

constexpr double kPixelsPerMm = 250.0 / 3.0;
constexpr double kFarOutside = 1e9;

int Truncated(double v) {
    if (std::isnan(v)) return -static_cast<int>(kFarOutside);
    if (v > kFarOutside) v = kFarOutside;
    if (v < -kFarOutside) v = -kFarOutside;
    return static_cast<int>(v);
}

}  // namespace

ImagePixel DialogPosition(float x, float y, int height) {
    return {Truncated(kPixelsPerMm * x), Truncated(height - 0.25 - kPixelsPerMm * y)};
}
