#pragma once
// Rendered star fields with a known truth for the automatic identification:
// the scene of the measuring tests as an 8-bit packed DIB.
// Tests name only the request and scene fields they set; the rest keep
// their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

#include <fitsio.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/sky_cat.h"
#include "identify/plate_solver.h"
#include "image/packed_dib.h"
#include "measure/star_centroid.h"
#include "ui/measure_sky_scene.h"

namespace identify_test {

inline CatalogueFiles ShippedCatalogue() {
    const std::filesystem::path dir = std::filesystem::path(VELKARN_SOURCE_DIR) / "data" / "catalogue";
    return {dir, dir};
}

// Why a test that needs the solver cannot run, or empty when it can.
inline std::string SolverMissing() {
    const SolverSetup setup;
    if (FindSolver(setup).empty()) return "solve-field is not installed (Debian package astrometry.net)";
    if (!SolverIndexPresent(setup))
        return "no astrometry.net index is installed (astrometry-data-tycho2-10-19-littleendian)";
    return {};
}

// A picture as an image source holds it: bottom row first, rows padded.
struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint8_t> dib;  // pixel rows only, from kPixelOffset
    GreyView View() const { return {dib.data(), static_cast<std::ptrdiff_t>(packed_dib::Stride(width)), width, height}; }
};

// top row first, as the renderer gives it
inline Picture FromTopDown(const std::vector<std::uint8_t>& grey, int width, int height) {
    const std::size_t stride = packed_dib::Stride(width);
    Picture p{width, height, std::vector<std::uint8_t>(stride * height, 0)};
    for (int r = 0; r < height; ++r)
        std::copy_n(grey.begin() + static_cast<std::ptrdiff_t>(r) * width, width,
                    p.dib.begin() + static_cast<std::ptrdiff_t>((height - 1 - r) * stride));
    return p;
}

// The picture as an 8-bit grey BMP file: the 14-byte file header (size,
// reserved, pixel offset, little-endian as on this machine) before the
// packed DIB.
inline void WriteBmp(const std::string& path, const Picture& p) {
    std::vector<std::uint8_t> dib = packed_dib::MakeGreyDib(p.width, p.height);
    std::copy(p.dib.begin(), p.dib.end(), dib.begin() + packed_dib::kPixelOffset);
    const std::uint32_t header[3] = {static_cast<std::uint32_t>(14 + dib.size()), 0, 14 + packed_dib::kPixelOffset};
    std::ofstream out(path, std::ios::binary);
    out.write("BM", 2);
    out.write(reinterpret_cast<const char*>(header), sizeof header);
    out.write(reinterpret_cast<const char*>(dib.data()), static_cast<std::streamsize>(dib.size()));
}

// The picture as an 8-bit FITS file (rows bottom first in both) with the
// header cards KEY = value; CFITSIO's status, 0 when written.
inline int WriteFits(const std::string& path, const Picture& p, const std::vector<std::pair<std::string, std::string>>& cards) {
    int status = 0;
    fitsfile* f = nullptr;
    fits_create_file(&f, ("!" + path).c_str(), &status);
    long axes[2] = {p.width, p.height};
    fits_create_img(f, BYTE_IMG, 2, axes, &status);
    for (int r = 0; r < p.height; ++r)
        fits_write_img(f, TBYTE, static_cast<LONGLONG>(r) * p.width + 1, p.width,
                       const_cast<std::uint8_t*>(p.dib.data() + r * packed_dib::Stride(p.width)), &status);
    for (const auto& [key, value] : cards) fits_write_record(f, (key + std::string(8 - key.size(), ' ') + "= " + value).c_str(), &status);
    fits_close_file(f, &status);
    return status;
}

inline sky_scene::Scene Field(double ra, double de, double focal, double roll, int width, int height,
                              float render_limit) {
    return sky_scene::MakeScene(ShippedCatalogue(), {.camera = {ra, de, focal, roll, 0, width, height}, .render_limit = render_limit,
                                                     .from_u = width * 0.3, .from_v = height * 0.6, .to_u = width * 0.62,
                                                     .to_v = height * 0.4});
}

}  // namespace identify_test
