// The display colour table of an image source: a grey ramp shaped by the
// contrast step (slope), the brightness step (offset of 7.68 grey levels per
// step) and the gradation sign (inversion). Only this table changes when the
// observer adjusts the display; the pixels are never touched.
#include <algorithm>

#include "image/meteor_image.h"
#include "image/packed_dib.h"

std::uint8_t MeteorImage::RampLevel(int i, int contrast, int brightness, int gradation) {
    const double f = contrast >= 0 ? 1 + 0.33 * contrast : 1 / (1 - 0.33 * contrast);
    const int centred = gradation * (i - 128);
    const double v = centred * f + 128 + brightness * 0.03 * 256;
    const double truncated = std::clamp(v, -1.0, 256.0);  // keeps the cast defined
    return static_cast<std::uint8_t>(std::clamp(static_cast<int>(truncated), 0, 255));
}

void MeteorImage::WriteColourTable(std::vector<std::uint8_t>& dib) const {
    if (dib.size() < packed_dib::kPixelOffset) return;
    std::uint8_t* table = dib.data() + packed_dib::kHeaderSize;
    for (int i = 0; i < packed_dib::kColourEntries; ++i) {
        const std::uint8_t v = RampLevel(i, contrast, brightness, gradation);
        table[4 * i] = v;
        table[4 * i + 1] = v;
        table[4 * i + 2] = v;
        table[4 * i + 3] = 0;
    }
}

void MeteorImage::AdjustDIBColors() {
    WriteColourTable(picture);
    if (type == ImageType::Video) WriteColourTable(frame_picture);
}

bool MeteorImage::SetBrightness(int step) {
    if (step < kMinStep || step > kMaxStep) return false;
    brightness = step;
    AdjustDIBColors();
    return true;
}

bool MeteorImage::SetContrast(int step) {
    if (step < kMinStep || step > kMaxStep) return false;
    contrast = step;
    AdjustDIBColors();
    return true;
}

void MeteorImage::InvertGradation() {
    gradation = -gradation;
    AdjustDIBColors();
}
