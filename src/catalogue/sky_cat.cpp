#include "catalogue/sky_cat.h"
#include "platform/c_locale.h"

#include <cmath>
#include <cstdio>
#include <cstring>

SkyCatMessage SkyCatStatusMessage(int status) {
    switch (status) {
    case SkyCatStatus::FileError:
        return {"File cannot be opened!", "Searching Sky Catalogue"};
    case SkyCatStatus::BadName:
        return {"Invalid Flamsteed name!", "Searching Sky Catalogue"};
    default:
        return {"No stars found. Try increasing the\nsearch area or the limiting magnitude.\n"
                "Check for misidentified stars.",
                "Sky Catalogue"};
    }
}

SkyCat::SkyCat(const CatalogueFiles& files, const char* name, float search_radius)
    : radius(search_radius), files_(files) {
    status = AddFlamsteed(name);
}

SkyCat::SkyCat(const CatalogueFiles& files, float centre_ra, float centre_de, float search_radius,
               float limit)
    : ra(centre_ra), de(centre_de), radius(search_radius), files_(files), limit_(limit) {
    status = FillCat();
}

float SkyCat::fCnvCatRA(const char* p) {
    float v = 0.0f;
    std::sscanf(p, " %7f ", &v);
    const float h = std::floor(v * 0.00001);
    const float m = std::floor((v - 100000 * h) * 0.001);
    return h + m / 60 + (v - 1000 * m - 100000 * h) / 36000;
}

float SkyCat::fCnvCatDE(const char* p) {
    const float sign = p[0] == '-' ? -1.0f : 1.0f;
    float v = 0.0f;
    std::sscanf(p + 1, " %6f ", &v);
    const float d = std::floor(v * 0.0001);
    const float m = std::floor((v - 10000 * d) * 0.01);
    return sign * (d + m / 60 + (v - 100 * m - 10000 * d) / 3600);
}

float SkyCat::fCnvCatMag(const char* p) {
    float v = 0.0f;
    std::sscanf(p, "%4f", &v);
    // A four-character field carries hundredths, a shorter one tenths.
    return p[3] != ' ' ? static_cast<float>(v * 0.01) : static_cast<float>(v * 0.1);
}

void SkyCat::AddStar(const char* record) {
    CNumericLocale c_numbers;
    CatStar s;
    s.mag = fCnvCatMag(record + 48);
    s.ra = fCnvCatRA(record + 25);
    float pm = 0.0f;
    std::sscanf(record + 39, "%5f", &pm);
    s.pmra = pm * 0.001;
    s.de = fCnvCatDE(record + 32);
    pm = 0.0f;
    std::sscanf(record + 44, "%4f", &pm);
    s.pmde = pm * 0.01;
    // Preference: Flamsteed number and constellation, then SAO, then HD.
    if (record[15] != ' ') {
        std::memcpy(s.name, record + 13, 4);
        std::memcpy(s.name + 4, record + 22, 3);
        s.name[7] = '\0';
    } else if (record[12] != ' ') {
        std::memcpy(s.name, "SAO", 3);
        std::memcpy(s.name + 3, record + 7, 6);
        s.name[9] = '\0';
    } else {
        std::memcpy(s.name, "HD", 2);
        std::memcpy(s.name + 2, record + 0, 6);
        s.name[8] = '\0';
    }
    candidates.push_back(s);
    ++count;
}
