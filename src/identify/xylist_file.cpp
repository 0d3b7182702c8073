#include "identify/xylist_file.h"

#include <fitsio.h>

#include <filesystem>

bool WriteXyList(const std::string& path, const std::vector<DetectedStar>& stars, int width, int height) {
    std::error_code ec;
    std::filesystem::remove(path, ec);
    int status = 0;
    fitsfile* f = nullptr;
    if (fits_create_file(&f, path.c_str(), &status) != 0) {
        fits_clear_errmsg();
        return false;
    }
    char x[] = "X", y[] = "Y", flux[] = "FLUX", e[] = "E";
    char* names[] = {x, y, flux};
    char* forms[] = {e, e, e};
    char extname[] = "SOURCES";
    fits_create_tbl(f, BINARY_TBL, 0, 3, names, forms, nullptr, extname, &status);
    long w = width, h = height;
    fits_write_key(f, TLONG, "IMAGEW", &w, "picture width", &status);
    fits_write_key(f, TLONG, "IMAGEH", &h, "picture height", &status);
    std::vector<float> xs, ys, fs;
    for (const DetectedStar& s : stars) {
        xs.push_back(static_cast<float>(s.x + 0.5));
        ys.push_back(static_cast<float>(s.y + 0.5));
        fs.push_back(static_cast<float>(s.flux));
    }
    if (!stars.empty()) {
        fits_write_col(f, TFLOAT, 1, 1, 1, static_cast<LONGLONG>(xs.size()), xs.data(), &status);
        fits_write_col(f, TFLOAT, 2, 1, 1, static_cast<LONGLONG>(ys.size()), ys.data(), &status);
        fits_write_col(f, TFLOAT, 3, 1, 1, static_cast<LONGLONG>(fs.size()), fs.data(), &status);
    }
    int ignored = 0;
    fits_close_file(f, status == 0 ? &status : &ignored);
    fits_clear_errmsg();
    return status == 0;
}
