// Search by Flamsteed name through the index.
#include <gtest/gtest.h>

#include "test_catalogue.h"

namespace {

// Index entries: Ori starts at 1893 and holds 75 numbers; Vul is the last
// group, 2873 .. 2907.
constexpr int kOri = 1893;

class NameSearch : public CatalogueDir {
protected:
    void SetUp() override {
        WriteCatalogue({{.ra = 1.0, .hd = 1},
                        {.ra = 5 + 55 / 60.0 + 10.1 / 3600, .de = -(2 + 30 / 60.0 + 15 / 3600.0), .mag = -1.46,
                         .hd = 39801, .sao = 113271, .flamsteed = 58, .constellation = "Ori", .pmra = 173, .pmde = -12},
                        {.ra = 6.0, .de = -10.0, .mag = 4.5, .hd = 3, .flamsteed = 8, .constellation = "Ori"},
                        {.ra = 20.0, .mag = 5.0, .hd = 4}});
        WriteIndex({{kOri + 57, 1}, {kOri + 7, 2}, {2907, 3}, {kOri + 74, 9}});
    }
};

// The record's fields convert as the catalogue writes them.
TEST_F(NameSearch, SpellingsOfOneNameFindTheSameStar) {
    for (const char* text : {"58 Ori", "58Ori", "58 ori", "  58 ORI", "   58 Ori"}) {
        SCOPED_TRACE(text);
        const SkyCat cat(files_, text, 0.5f);
        ASSERT_EQ(cat.status, SkyCatStatus::Found);
        ASSERT_EQ(cat.count, 1);
        const CatStar& s = cat.candidates[0];
        EXPECT_STREQ(s.name, " 58 Ori");
        EXPECT_EQ(std::tuple(s.mag, s.pmra, s.pmde), std::tuple(-1.46f, 0.173f, -0.12f));
        EXPECT_FLOAT_EQ(s.ra, 5.0f + 55.0f / 60 + 101.0f / 36000);
        EXPECT_EQ(std::pair(cat.ra, cat.de), std::pair(s.ra, s.de));
        EXPECT_NEAR(cat.de, -2.5042, 0.0001);
        EXPECT_EQ(cat.reads, 2);  // one index entry, one record
    }
    // A three-character magnitude field with its last column blank is in tenths.
    char mag[] = " 74 ";
    EXPECT_FLOAT_EQ(SkyCat::fCnvCatMag(mag), 7.4f);
}

TEST_F(NameSearch, NamesThatCannotBeAFlamsteedDesignationAreInvalid) {
    for (const char* text : {"Ori", "58", "0 Ori", "76 Ori", "58 Xxx", "58 Orx", "-5 Ori", "58 Or", "",
                             "     58 Ori", "58     Ori", "12 Ori"}) {
        const SkyCat cat(files_, text, 0.5f);
        EXPECT_EQ(std::pair(cat.status, cat.count), std::pair(SkyCatStatus::BadName, 0)) << text;
    }
}

TEST_F(NameSearch, TheLastIndexEntryNeedsNoLineEndAndMissingOrMismatchedFilesReportTheFile) {
    std::filesystem::resize_file(dir_ / "velkarn.ndx", 2908 * 6 - 1);
    const SkyCat last(files_, "35 vul", 0.5f);
    ASSERT_EQ(last.status, SkyCatStatus::Found);
    EXPECT_STREQ(last.candidates[0].name, " 35 Vul");
    EXPECT_EQ(SkyCat(files_, "36 Vul", 0.5f).status, SkyCatStatus::BadName);

    // Entry 75 Ori points past the four records of the catalogue.
    EXPECT_EQ(SkyCat(files_, "75 Ori", 0.5f).status, SkyCatStatus::FileError);
    std::filesystem::remove(dir_ / "skycat.dat");
    EXPECT_EQ(SkyCat(files_, "58 Ori", 0.5f).status, SkyCatStatus::FileError);
    std::filesystem::remove(dir_ / "velkarn.ndx");
    EXPECT_EQ(SkyCat(files_, "58 Ori", 0.5f).status, SkyCatStatus::FileError);
    // A name that is invalid in itself never needs the files.
    EXPECT_EQ(SkyCat(files_, "58 Xxx", 0.5f).status, SkyCatStatus::BadName);
}

}  // namespace
