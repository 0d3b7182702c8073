// Search by position on catalogues written by the tests.
#include <gtest/gtest.h>

#include "test_catalogue.h"

namespace {

std::string Hd(int n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "HD%6d", n);
    return buf;
}

using Strings = std::vector<std::string>;

class PositionSearch : public CatalogueDir {};

// Radius 1.5 at DE 0 gives a window half-width of exactly 0.1 h.
constexpr float kR = 1.5f;

// Each catalogue with a search: which records its window takes, in order.
TEST_F(PositionSearch, WindowsWrapAtZeroHoursExcludeTheDeclinationEdgesAndIncludeTheMagnitudeLimit) {
    const struct {
        const char* what;
        std::vector<TestStar> stars;
        float ra, de, radius, mag;
        Strings names;
        int reads;
    } cases[] = {
        {"the name prefers Flamsteed, then SAO, then HD",
         {{.ra = 1.00, .hd = 11, .sao = 222, .flamsteed = 3, .constellation = "And"},
          {.ra = 1.01, .hd = 12, .sao = 129999},
          {.ra = 1.02, .hd = 13}},
         1.0f, 0.0f, kR, 8.0f, {"  3 And", "SAO129999", Hd(13)}, -1},
        // Binary search over 6 records (3 probes), then records 5, 0, 1 and
        // the record that ends the scan.
        {"a window across 0 h wraps from the last record to the first",
         {{.ra = 0.02, .hd = 1}, {.ra = 0.10, .hd = 2}, {.ra = 0.16, .hd = 3},  // 3: just beyond the end
          {.ra = 12.0, .hd = 4}, {.ra = 23.90, .hd = 5}, {.ra = 23.97, .hd = 6}},
         0.05f, 0.0f, kR, 8.0f, {Hd(6), Hd(1), Hd(2)}, 3 + 4},
        {"a window beginning beyond the last record continues with record 0",
         {{.ra = 0.02, .hd = 1}, {.ra = 5.0, .hd = 2}, {.ra = 20.0, .hd = 3}}, 23.95f, 0.0f, kR, 8.0f, {Hd(1)}, -1},
        {"the declination band excludes its edges, the magnitude limit includes its value",
         {{.ra = 3.00, .de = 11.0, .hd = 1},
          {.ra = 3.01, .de = 11.0 - 1 / 3600.0, .hd = 2},
          {.ra = 3.02, .de = 9.0, .hd = 3},
          {.ra = 3.03, .de = 10.0, .mag = 6.00, .hd = 4},
          {.ra = 3.04, .de = 10.0, .mag = 6.01, .hd = 5}},
         3.0f, 10.0f, 1.0f, 6.0f, {Hd(2), Hd(4)}, -1},
        // A radius far beyond the settings' 5 degrees widens the window to 12 h.
        {"a window of the whole sky visits each record once",
         {{.ra = 1.0, .hd = 1}, {.ra = 9.0, .hd = 2}, {.ra = 17.0, .hd = 3}}, 9.0f, 0.0f, 180.0f, 8.0f,
         {Hd(1), Hd(2), Hd(3)}, -1},
    };
    for (const auto& c : cases) {
        WriteCatalogue(c.stars);
        const SkyCat cat(files_, c.ra, c.de, c.radius, c.mag);
        EXPECT_EQ(Names(cat), c.names) << c.what;
        EXPECT_EQ(c.reads < 0 ? -1 : cat.reads, c.reads) << c.what;
    }
}

TEST_F(PositionSearch, CentreOutOfRangeIsRefusedBeforeAnyFileIsOpenedAndEmptyOrBrokenSearchesGiveTheirStatus) {
    // No catalogue in the directory: an accepted centre reports the file.
    EXPECT_EQ(SkyCat(files_, 24.0f, 0.0f, kR, 8.0f).status, SkyCatStatus::FileError);
    for (const auto& [ra, de] : {std::pair{24.01f, 0.0f}, {-0.01f, 0.0f}, {1.0f, -90.01f}, {1.0f, std::nanf("")}})
        EXPECT_EQ(SkyCat(files_, ra, de, kR, 8.0f).status, SkyCatStatus::NoStars) << ra << " h " << de << " deg";

    WriteCatalogue({{.ra = 23.99, .hd = 1}, {.ra = 0.01, .hd = 2}});
    EXPECT_EQ(Names(SkyCat(files_, 24.0f, 0.0f, kR, 8.0f)), (Strings{Hd(1), Hd(2)}));
    const SkyCat none(files_, 9.0f, 0.0f, kR, 8.0f);
    EXPECT_EQ(std::pair(none.status, none.count), std::pair(SkyCatStatus::NoStars, 0));
    // A file shorter than one record holds no catalogue.
    std::ofstream(dir_ / "skycat.dat") << "truncated\n";
    EXPECT_EQ(SkyCat(files_, 3.0f, 0.0f, kR, 8.0f).status, SkyCatStatus::FileError);
}

class PolarSearch : public CatalogueDir {
protected:
    void SetUp() override {
        WriteCatalogue({{.ra = 1.0, .de = 85.0, .hd = 1},
                        {.ra = 3.5, .de = 85.0, .hd = 2},
                        {.ra = 3.6, .de = 87.0, .hd = 3},    // polar
                        {.ra = 4.0, .de = 82.9, .hd = 4},    // polar list, below the band
                        {.ra = 4.5, .de = 86.0, .hd = 5},    // on the scan band's upper edge
                        {.ra = 7.45, .de = 85.0, .hd = 6},   // 3.45 h from the centre
                        {.ra = 7.55, .de = 85.0, .hd = 7},   // 3.55 h from the centre
                        {.ra = 15.0, .de = 89.5, .hd = 8},   // polar
                        {.ra = 20.0, .de = -89.0, .hd = 9}});  // polar, south
        WritePolarList("2\n3\n7\n8\n");
    }
};

TEST_F(PolarSearch, AtThePoleOnlyPolarRecordsAreReadNearItTheyComeFirstAndWithoutAListTheyAreBuiltIn) {
    const SkyCat cat(files_, 0.0f, 90.0f, 4.0f, 8.0f);
    EXPECT_EQ(std::pair(Names(cat), cat.reads), std::pair(Strings{Hd(3), Hd(8)}, 4));
    const SkyCat south(files_, 0.0f, -90.0f, 4.0f, 8.0f);
    EXPECT_EQ(Names(south), (Strings{Hd(9)}));

    // Near the pole: polar band 83 .. 93 with w = (5/15)/cos 88 = 9.55 h;
    // then the scan band 83 .. 86 with w = (5/15)/cos 84.5 = 3.48 h.
    EXPECT_EQ(Names(SkyCat(files_, 4.0f, 88.0f, 5.0f, 8.0f)), (Strings{Hd(3), Hd(1), Hd(2), Hd(6)}));

    WritePolarList("2\n9\n");  // record 9 lies beyond the catalogue
    const SkyCat beyond(files_, 0.0f, 90.0f, 4.0f, 8.0f);
    EXPECT_EQ(std::pair(beyond.status, beyond.count), std::pair(SkyCatStatus::FileError, 0));

    std::filesystem::remove(dir_ / "skycat.pol");
    EXPECT_EQ(SkyCat(files_, 0.0f, 90.0f, 4.0f, 8.0f).status, SkyCatStatus::NoStars);

    // A catalogue of 50 071 records: its polar records are built in, the
    // first being record 250.
    std::vector<TestStar> stars(SkyCat::kBuiltInCatalogueCount);
    for (std::size_t i = 0; i < stars.size(); ++i)
        stars[i] = {.ra = i * (24.0 / stars.size()), .de = i == 250 ? 88.0 : 0.0, .hd = static_cast<int>(i)};
    WriteCatalogue(stars);
    const SkyCat built_in(files_, 0.0f, 90.0f, 4.0f, 8.0f);
    EXPECT_EQ(std::pair(Names(built_in), built_in.reads), std::pair(Strings{Hd(250)}, 87));
}

}  // namespace
