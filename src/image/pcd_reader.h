#pragma once
// A reader of Kodak Photo CD image pacs (*.pcd) that delivers the luminance
// of one resolution as an 8-bit grey packed DIB. It follows the steps of the
// Photo CD access library the program was built around: open a file, choose
// the resolution step, load with a progress and an abort callback, close.
//
// The image pac is read in sectors of 2 048 bytes. Sector 1 begins with
// "PCD_IPI"; byte 0x0E02 holds the image attributes: bits 0-1 the rotation
// in quarter turns, bits 2-3 the highest resolution present (0 Base,
// 1 4Base, 2 16Base). The three lower resolutions are stored as pictures in
// PhotoYCC 4:2:0: for each pair of rows, two luma rows of width bytes, then
// one row of each chroma component of width / 2 bytes:
//
//   step  name     width x height  first sector
//   1     Base/16   192 x 128        4
//   2     Base/4    384 x 256       23
//   3     Base      768 x 512       96
//   4     4Base    1536 x 1024     table 388, residuals from 389
//   5     16Base   3072 x 2048     tables and residuals after 4Base
//
// The two highest resolutions are residuals over the one below
// (pcd_residuals.h). Where the 4Base residuals end, at sector E (the first
// sector after the end mark), the three 16Base tables follow at sector
// E + 12 and the 16Base residuals at sector E + 14.
//
// Pictures are delivered as stored on the disc, landscape, whatever the
// rotation attribute says. The grey level of a pixel is its PhotoYCC luma
// byte unchanged.

#include <cstdint>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "image/pcd_residuals.h"

namespace pcd {

constexpr int kSectorSize = 2048;
constexpr int kLowestStep = 1;
constexpr int kHighestStep = 5;

struct Size {
    int width;
    int height;
};

// The picture size of a resolution step 1..5 (192 x 128 up to 3072 x 2048).
Size StepSize(int step);

}  // namespace pcd

class PcdReader {
public:
    // Told the work done so far out of the total, in rows.
    using ProgressCallback = std::function<void(int done, int total)>;
    // Asked between pieces of work; true stops the loading.
    using AbortCallback = std::function<bool()>;

    // Opens an image pac. kStatusCannotOpen when the file cannot be read or
    // is not a Photo CD image pac holding at least its smallest picture.
    int Open(const std::string& path);

    // Chooses the resolution step (1..5) that Load delivers.
    // kStatusNoPcdResolution when the image pac does not hold it (or no file
    // is open).
    int SelectResolution(int step);

    void SetProgressCallback(ProgressCallback callback) { progress_ = std::move(callback); }
    void SetAbortCallback(AbortCallback callback) { abort_ = std::move(callback); }

    // Loads the chosen resolution into `dib` (a packed 8-bit DIB with the grey
    // ramp). Returns 0, kStatusAborted when the abort callback asked for it,
    // kStatusWrongFormat when the residual data are damaged or cut short,
    // kStatusNoMemory when the picture memory cannot be had, or
    // kStatusNoPcdResolution when nothing suitable is open.
    int Load(std::vector<std::uint8_t>& dib);

    void Close();

    // Quarter turns recorded in the image attributes (not applied).
    int Rotation() const { return attributes_ & 3; }
    // The highest resolution step the image pac says it holds.
    int HighestStep() const;

private:

    pcd::Plane ReadStoredPlane(int step);
    pcd::Plane Add4BaseResiduals(const pcd::Plane& base, std::uint64_t& end_sector);
    pcd::Plane Add16BaseResiduals(const pcd::Plane& four_base, std::uint64_t four_base_end);
    std::size_t ApplyStream(const std::vector<std::uint8_t>& stream, const std::vector<pcd::HuffmanTable>& tables,
                            pcd::Plane& plane);
    std::vector<std::uint8_t> ReadBytes(std::uint64_t offset, std::uint64_t max_count);
    // Counts rows of work done and reports them; false when the abort
    // callback asks to stop.
    bool Report(int rows);

    std::ifstream file_;
    std::uint64_t file_size_ = 0;
    int attributes_ = 0;
    int step_ = 0;
    ProgressCallback progress_;
    AbortCallback abort_;
    int work_done_ = 0;
    int work_total_ = 0;
};
