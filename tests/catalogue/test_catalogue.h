#pragma once
// Small catalogues written by the tests, so that every edge of a search is
// exact: records in the fixed 107-byte layout, the 6-byte Flamsteed index
// and the polar record list, in a fresh directory per test.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "catalogue/sky_cat.h"
#include "support/scratch_dir.h"

struct TestStar {
    double ra = 0;   // hours
    double de = 0;   // degrees
    double mag = 5.0;
    int hd = 1;
    int sao = 0;        // 0: none
    int flamsteed = 0;  // 0: none
    const char* constellation = "   ";
    int pmra = 0;  // 0.001 s/yr
    int pmde = 0;  // 0.01"/yr
};

// One record: all numeric fields written (no blanks for a scanf width to
// read on into), RA to 0.1 s, DE to 1", magnitude in hundredths.
inline std::string MakeRecord(const TestStar& s) {
    const long ra = std::lround(s.ra * 36000.0);  // tenths of a second
    const long de = std::lround(std::fabs(s.de) * 3600.0);
    char buf[200];
    std::snprintf(buf, sizeof buf, "%6d %6s%3s %5s%3s%02ld%02ld%03ld%c%02ld%02ld%02ld%5d%4d%4ld", s.hd,
                  s.sao ? std::to_string(s.sao).c_str() : "",
                  s.flamsteed ? std::to_string(s.flamsteed).c_str() : "", "", s.constellation,
                  ra / 36000, ra / 600 % 60, ra % 600, s.de < 0 ? '-' : '+', de / 3600, de / 60 % 60,
                  de % 60, s.pmra, s.pmde, std::lround(s.mag * 100));
    std::string r(buf);
    r.resize(SkyCat::kRecordLength - 1, ' ');
    return r + '\n';
}

class CatalogueDir : public ::testing::Test {
protected:
    void WriteCatalogue(const std::vector<TestStar>& stars) {
        std::ofstream out(dir_ / "skycat.dat", std::ios::binary);
        for (const auto& s : stars) out << MakeRecord(s);
    }
    void WritePolarList(const std::string& text) { std::ofstream(dir_ / "skycat.pol") << text; }
    // Index entries by entry number; every other entry says "no record".
    void WriteIndex(const std::vector<std::pair<int, unsigned>>& entries) {
        std::vector<unsigned> all(2908, 65535);
        for (const auto& [e, record] : entries) all[e] = record;
        std::ofstream out(dir_ / "velkarn.ndx", std::ios::binary);
        for (const unsigned v : all) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "%5u\n", v);
            out << buf;
        }
    }

    testing_support::ScratchDir scratch_;
    std::filesystem::path dir_ = scratch_.path();
    CatalogueFiles files_{dir_, dir_};
};

inline std::vector<std::string> Names(const SkyCat& cat) {
    std::vector<std::string> names;
    for (const auto& c : cat.candidates) names.emplace_back(c.name);
    return names;
}
