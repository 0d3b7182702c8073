// The catalogue shipped in data/catalogue: its files must keep the fixed
// layout the reader seeks in, agree with each other, and agree with an
// independent list (an extract of the Yale Bright Star Catalogue in
// tests/catalogue/data, written by tools/catalogue/build_catalogue.py).

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <optional>
#include <sstream>

#include "catalogue/polar_records.h"
#include "catalogue/sky_cat.h"
#include "session/sky_field.h"
#include "support/scratch_dir.h"

namespace {

namespace fs = std::filesystem;

const fs::path kDataDir = fs::path(VELKARN_SOURCE_DIR) / "data" / "catalogue";
constexpr int kRecord = SkyCat::kRecordLength;

// A field of digits, optionally led by a sign; nothing when any other
// character (a blank included) is in it.
std::optional<long> Digits(const std::string& r, int col, int len) {
    long value = 0;
    int i = col;
    const bool negative = r[i] == '-';
    if (r[i] == '-' || r[i] == '+') ++i;
    if (i == col + len) return std::nullopt;
    for (; i < col + len; ++i) {
        if (r[i] < '0' || r[i] > '9') return std::nullopt;
        value = value * 10 + (r[i] - '0');
    }
    return negative ? -value : value;
}

bool Blank(const std::string& r, int col, int len) {
    return r.compare(col, len, std::string(len, ' ')) == 0;
}

// A number right-aligned in the columns, led by blanks.
std::optional<long> RightAligned(const std::string& r, int col, int len) {
    const int first = static_cast<int>(r.find_first_not_of(' ', col));
    return first < col + len ? Digits(r, first, col + len - first) : std::nullopt;
}

bool BlankOrRightAligned(const std::string& r, int col, int len) {
    return Blank(r, col, len) || RightAligned(r, col, len);
}

double Quantile(std::vector<double> v, double q) {
    std::sort(v.begin(), v.end());
    return v[static_cast<std::size_t>(q * (v.size() - 1))];
}

struct BrightStar {
    int hr;
    double ra, de, v;  // hours, degrees, magnitude
};

class ShippedCatalogue : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        catalogue_ = testing_support::ReadText(kDataDir / "skycat.dat");
        std::ifstream in(fs::path(VELKARN_SOURCE_DIR) / "tests" / "catalogue" / "data" / "bsc_reference.txt");
        std::string line;
        while (std::getline(in, line)) {
            if (line.empty() || line[0] == '#') continue;
            BrightStar b;
            std::istringstream fields(line);
            fields >> b.hr >> b.ra >> b.de >> b.v;
            bright_.push_back(b);
        }
    }

    static long Count() { return static_cast<long>(catalogue_.size()) / kRecord; }
    static std::string Record(long n) { return catalogue_.substr(n * kRecord, kRecord); }

    inline static std::string catalogue_;
    inline static std::vector<BrightStar> bright_;
};

TEST_F(ShippedCatalogue, HoldsAboutFiftyThousandSortedRecordsAndItsPolarListNamesThoseWithinFourDegreesOfAPole) {
    ASSERT_EQ(catalogue_.size() % kRecord, 0u);
    EXPECT_NEAR(Count(), 50000, 5000);  // and so below 65535, the index's "no record"
    std::vector<long> unsorted;
    for (long n = 1; n < Count(); ++n)
        if (Record(n).compare(25, 7, Record(n - 1), 25, 7) < 0) unsorted.push_back(n);
    EXPECT_EQ(unsorted, std::vector<long>{}) << "records out of order";

    std::vector<long> expected;
    for (long n = 0; n < Count(); ++n)
        if (*Digits(Record(n), 33, 6) >= 860000) expected.push_back(n);
    EXPECT_EQ(PolarRecords(kDataDir, Count()), std::optional(expected));
    EXPECT_GT(expected.size(), 50u);
}

// scanf's "%Nf" skips leading blanks before counting its width, so a blank
// or short numeric field would read on into the next one.
TEST_F(ShippedCatalogue, EveryRecordFillsEveryNumericFieldAndKeepsTheSeparatorsBlank) {
    std::vector<long> bad;
    for (long n = 0; n < Count(); ++n) {
        const std::string r = Record(n);
        const auto ra = Digits(r, 25, 7), de = Digits(r, 33, 6), mag = Digits(r, 48, 4);
        const bool ok =
            r.compare(105, 2, "\r\n") == 0 && r.find_first_of("\r\n") == 105 &&
            BlankOrRightAligned(r, 0, 6) && r[6] == ' ' && BlankOrRightAligned(r, 7, 6) &&
            BlankOrRightAligned(r, 13, 3) && Blank(r, 16, 6) &&
            (r[15] == ' ') == Blank(r, 22, 3) &&
            ra && *ra / 100000 < 24 && *ra / 1000 % 100 < 60 && *ra % 1000 < 600 &&
            (r[32] == '+' || r[32] == '-') && de && *de <= 900000 && *de / 100 % 100 < 60 && *de % 100 < 60 &&
            (r[39] == '+' || r[39] == '-') && Digits(r, 39, 5) &&
            (r[44] == '+' || r[44] == '-') && Digits(r, 44, 4) &&
            mag && r[51] != ' ' && r[52] == ' ';
        if (!ok) bad.push_back(n);
    }
    EXPECT_EQ(bad, std::vector<long>{}) << bad.size() << " malformed records";
}

// The Flamsteed index: 2908 six-byte entries, and every Flamsteed number
// in the catalogue leads through it to its own record.
TEST_F(ShippedCatalogue, EveryFlamsteedNumberInTheCatalogueIsFoundByName) {
    ASSERT_EQ(fs::file_size(kDataDir / "velkarn.ndx"), 6u * 2908);
    std::vector<long> lost;
    for (long n = 0; n < Count(); ++n) {
        const std::string r = Record(n);
        if (r[15] == ' ') continue;
        const std::string name = r.substr(13, 3) + " " + r.substr(22, 3);
        SkyCat found({kDataDir, kDataDir}, name.c_str(), 0.5f);
        if (found.status != SkyCatStatus::Found || found.ra != SkyCat::fCnvCatRA(r.c_str() + 25) ||
            found.de != SkyCat::fCnvCatDE(r.c_str() + 32))
            lost.push_back(n);
    }
    EXPECT_EQ(lost, std::vector<long>{}) << "records their name does not find";
}

// The catalogue record of each reference star is found by the HR number in
// columns 60-63 (a column the program does not read).
TEST_F(ShippedCatalogue, PositionsAndMagnitudesAgreeWithTheBrightStarList) {
    std::vector<long> record_of_hr(10000, -1);
    for (long n = 0; n < Count(); ++n)
        if (auto hr = RightAligned(Record(n), 60, 4)) record_of_hr[*hr] = n;
    std::vector<double> sep, dv;
    for (const BrightStar& b : bright_) {
        if (record_of_hr[b.hr] < 0) continue;
        const std::string r = Record(record_of_hr[b.hr]);
        sep.push_back(
            sky::ArcsecBetween(SkyCat::fCnvCatRA(r.c_str() + 25), SkyCat::fCnvCatDE(r.c_str() + 32), b.ra, b.de));
        dv.push_back(std::abs(*Digits(r, 48, 4) * 0.01 - b.v));
    }
    ASSERT_GE(sep.size(), bright_.size() * 97 / 100);
    // The list's own RA is rounded to 0.0001 h, 5.4" cos DE.
    EXPECT_LT(Quantile(sep, 0.5), 2.0);
    EXPECT_LT(Quantile(sep, 1.0), 10.0);
    EXPECT_LE(Quantile(dv, 0.5), 0.02);
    EXPECT_LT(Quantile(dv, 0.9), 0.1);  // the rest: variables and photometry of doubles
}

}  // namespace
