#include "image/fits_header.h"

namespace fits_header {

std::string Text(fitsfile* f, const char* key) {
    char value[FLEN_VALUE] = {};
    int status = 0;
    if (fits_read_key(f, TSTRING, key, value, nullptr, &status) != 0) {
        fits_clear_errmsg();
        return std::string();
    }
    std::string v(value);
    while (!v.empty() && v.back() == ' ') v.pop_back();
    return v;
}

int CelestialRaAxis(fitsfile* f) {
    const std::string c1 = Text(f, "CTYPE1"), c2 = Text(f, "CTYPE2");
    const auto pair = [](const std::string& ra, const std::string& de) {
        return (ra == "RA---TAN" && de == "DEC--TAN") || (ra == "RA---TAN-SIP" && de == "DEC--TAN-SIP");
    };
    if (pair(c1, c2)) return 1;
    if (pair(c2, c1)) return 2;
    return 0;
}

}  // namespace fits_header
