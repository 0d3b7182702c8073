#pragma once
// The star list handed to the plate solver: a FITS binary table with the
// columns X, Y (FITS pixels: picture pixels + 0.5) and FLUX, brightest first.
#include <string>
#include <vector>

#include "identify/star_detection.h"

// Writes the list; false when the file cannot be written.
bool WriteXyList(const std::string& path, const std::vector<DetectedStar>& stars, int width, int height);
