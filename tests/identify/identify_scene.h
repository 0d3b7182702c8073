#pragma once
// Rendered star fields with a known truth for the automatic identification:
// the scene of the measuring tests as an 8-bit packed DIB.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
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
    GreyView View() const {
        GreyView v;
        v.width = width;
        v.height = height;
        v.stride = static_cast<std::ptrdiff_t>(packed_dib::Stride(width));
        v.bottom_row = dib.data();
        return v;
    }
};

// top row first, as the renderer gives it
inline Picture FromTopDown(const std::vector<std::uint8_t>& grey, int width, int height) {
    Picture p;
    p.width = width;
    p.height = height;
    const std::size_t stride = packed_dib::Stride(width);
    p.dib.assign(stride * height, 0);
    for (int r = 0; r < height; ++r)
        std::copy_n(grey.begin() + static_cast<std::ptrdiff_t>(r) * width, width,
                    p.dib.begin() + static_cast<std::ptrdiff_t>((height - 1 - r) * stride));
    return p;
}

// The picture as an 8-bit grey BMP file.
inline void WriteBmp(const std::string& path, const Picture& p) {
    const auto size = static_cast<std::uint32_t>(p.dib.size());
    const std::uint32_t offset = 14 + 40 + 1024;
    std::vector<std::uint8_t> out{'B', 'M'};
    auto put = [&](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    for (const auto& [v, bytes] : {std::pair<std::uint32_t, int>{offset + size, 4}, {0, 4}, {offset, 4}, {40, 4},
                                   {std::uint32_t(p.width), 4}, {std::uint32_t(p.height), 4}, {1, 2}, {8, 2}, {0, 4}, {size, 4}, {3000, 4},
                                   {3000, 4}, {256, 4}, {0, 4}})
        put(v, bytes);
    for (std::uint32_t i = 0; i < 256; ++i) put(i * 0x010101, 4);
    out.insert(out.end(), p.dib.begin(), p.dib.end());
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
}

inline sky_scene::Scene Field(double ra, double de, double focal, double roll, int width, int height,
                              float render_limit) {
    sky_scene::SceneSpec plan;
    plan.camera = {ra, de, focal, roll, 0, width, height};
    plan.render_limit = render_limit;
    plan.from_u = width * 0.3, plan.from_v = height * 0.6;
    plan.to_u = width * 0.62, plan.to_v = height * 0.4;
    plan.points = 12;
    return sky_scene::MakeScene(ShippedCatalogue(), plan);
}

}  // namespace identify_test
