#pragma once
// Photo CD image pacs for the tests. ImageMagick's Photo CD writer gives
// independently written files, but it writes only the three stored
// resolutions; the 4Base and 16Base residuals are therefore written here
// from the published image pac layout (see pcd_reader.h).

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "image/pcd_residuals.h"

namespace pcd_test {

// The test picture's luma at resolution step 1..5, column x, row y from the
// top: a smooth wave with a fine texture, so that the residuals over the
// enlarged lower resolution are small but seldom zero.
std::uint8_t Luma(int step, int x, int y);
pcd::Plane Picture(int step);

struct PacOptions {
    int highest_step = 5;      // 3, 4 or 5: the residual resolutions written
    int attribute_step = 0;    // the highest step the attributes claim; 0: highest_step
    bool invalid_4base_code = false;  // row 10 of 4Base starts with a code no table holds
    int missing_4base_row = -1;       // a 4Base luma row left out
};

// An image pac whose stored pictures and residuals give Picture(step).
// Chroma rows carry values unlike the luma, so a reader that mistakes them
// for luma is caught. Rows of the residual streams are padded to whole bytes
// with one bits before the next sync mark.
std::vector<std::uint8_t> BuildImagePac(const PacOptions& options = {});

// The complete pac with all five resolutions, built once.
const std::vector<std::uint8_t>& FullImagePac();

// A fresh path in a scratch directory of this test program.
std::filesystem::path ScratchPath(const std::string& name);
void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

// The pixel at column x, row y from the top of a packed 8-bit DIB.
std::uint8_t DibPixel(const std::vector<std::uint8_t>& dib, int x, int y_from_top);

}  // namespace pcd_test
