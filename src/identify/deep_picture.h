#pragma once
// The picture stars are found and measured on, for a still deeper than 8
// bits. The display stretch lets the brightest half percent saturate, which
// flattens every star image into a plateau; this ramp runs instead from just
// below the sky to the brightest stars, so that star images keep their
// profile and their centroids their accuracy.
#include <cstdint>
#include <vector>

#include "image/stretch.h"
#include "measure/star_centroid.h"

class MeteorImage;

struct MeasuringPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rows;  // bottom row first, `width` bytes each
    GreyView View() const;
};

// Black at the first percentile of the samples, white at the 99.99th.
MeasuringPicture LinearPicture(const DeepSamples& samples);

// The picture to identify stars on: the samples' linear ramp for a deep
// still, else the image's own picture (a video's averaged picture).
GreyView IdentificationView(const MeteorImage& image, MeasuringPicture& keep);
