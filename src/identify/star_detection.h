#pragma once
// The star images of a picture, found by the program itself: every local
// maximum that stands clearly above the sky of its neighbourhood, measured
// with the star centroid of the measuring dialogs.
#include <vector>

#include "measure/star_centroid.h"

struct DetectedStar {
    double x = 0;     // picture pixels from the lower-left corner (star_centroid.h)
    double y = 0;
    double flux = 0;  // grey levels above the sky within the centroid's window
};

// Sky level and noise of a block grid over the picture.
class SkyGrid {
public:
    explicit SkyGrid(const GreyView& picture);
    double Level(int column, int row) const { return level_[Cell(column, row)]; }
    double Noise(int column, int row) const { return noise_[Cell(column, row)]; }

private:
    std::size_t Cell(int column, int row) const {
        return static_cast<std::size_t>(row / block_) * columns_ + static_cast<std::size_t>(column / block_);
    }
    int block_ = 64;
    std::size_t columns_ = 0;
    std::vector<double> level_, noise_;
};

// The stars of the picture, brightest (by flux) first, at most `most`. A
// blank or overexposed picture has none.
std::vector<DetectedStar> DetectStars(const GreyView& picture, std::size_t most);
