#include "files/exposure_fields.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "session/fixed_text.h"

namespace {

ExposureTexts ValidTexts() {
    ExposureTexts t;
    t.station = "Darnholm          ";
    t.image = "M1";
    t.meteor = "13";
    t.year = "1900";
    t.month = "1";
    t.day = "1";
    t.hour = "0";
    t.minute = "00";
    t.second = "0";
    t.refhour = "23";
    t.refminute = "59";
    t.refsecond = "59";
    t.objective = "Zeiss 2.8/50";
    t.shutter = "25.000";
    return t;
}

struct ExposureCase {
    const char* what;
    std::function<void(ExposureTexts&)> change;
    ExposureField bad;
};

void PrintTo(const ExposureCase& c, std::ostream* os) { *os << c.what; }

class ExposureCheck : public testing::TestWithParam<ExposureCase> {};

TEST_P(ExposureCheck, NamesTheFirstFieldMissingOrOutOfRange) {
    ExposureTexts t = ValidTexts();
    GetParam().change(t);
    DialogData d;
    EXPECT_EQ(CloseExposureDialog(d, t, false), GetParam().bad);
    EXPECT_EQ(d.status, GetParam().bad == ExposureField::None ? 0 : -8);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExposureCheck,
    testing::Values(
        ExposureCase{"earliest date and time", [](ExposureTexts&) {}, ExposureField::None},
        ExposureCase{"day 31 in February", [](ExposureTexts& t) { t.month = "2", t.day = "31"; }, ExposureField::None},
        ExposureCase{"year 2100, 23:59:59", [](ExposureTexts& t) { t.year = "2100", t.hour = "23", t.minute = "59", t.second = "59"; },
                     ExposureField::None},
        ExposureCase{"year 1899", [](ExposureTexts& t) { t.year = "1899"; }, ExposureField::Year},
        ExposureCase{"year 2101", [](ExposureTexts& t) { t.year = "2101"; }, ExposureField::Year},
        ExposureCase{"empty year", [](ExposureTexts& t) { t.year = ""; }, ExposureField::Year},
        ExposureCase{"month 0", [](ExposureTexts& t) { t.month = "0"; }, ExposureField::Month},
        ExposureCase{"month 13", [](ExposureTexts& t) { t.month = "13"; }, ExposureField::Month},
        ExposureCase{"day 32", [](ExposureTexts& t) { t.day = "32"; }, ExposureField::Day},
        ExposureCase{"empty day", [](ExposureTexts& t) { t.day = ""; }, ExposureField::Day},
        ExposureCase{"hour 24", [](ExposureTexts& t) { t.hour = "24"; }, ExposureField::Hour},
        ExposureCase{"minute 60", [](ExposureTexts& t) { t.minute = "60"; }, ExposureField::Minute},
        ExposureCase{"empty minute", [](ExposureTexts& t) { t.minute = ""; }, ExposureField::Minute},
        ExposureCase{"blank second", [](ExposureTexts& t) { t.second = " "; }, ExposureField::Second},
        ExposureCase{"reference hour 24", [](ExposureTexts& t) { t.refhour = "24"; }, ExposureField::RefHour},
        ExposureCase{"empty reference minute", [](ExposureTexts& t) { t.refminute = ""; }, ExposureField::RefMinute},
        ExposureCase{"reference second 60", [](ExposureTexts& t) { t.refsecond = "60"; }, ExposureField::RefSecond},
        ExposureCase{"hour written by a session file", [](ExposureTexts& t) { t.refhour = " 5"; }, ExposureField::None},
        ExposureCase{"first bad field wins", [](ExposureTexts& t) { t.day = "40", t.month = "40"; }, ExposureField::Month}));

TEST(ExposureDialogClose, ARefusedCloseKeepsTheTypedTextsAndTheStatus) {
    DialogData d;
    d.status = 0;
    ExposureTexts t = ValidTexts();
    t.hour = "24";
    t.turner = false;
    EXPECT_EQ(CloseExposureDialog(d, t, false), ExposureField::Hour);
    EXPECT_STREQ(d.hour, "24");
    EXPECT_STREQ(d.objective, "Zeiss 2.8/50");
    EXPECT_EQ(d.astrometry, 0);
    EXPECT_EQ(d.status, 0);
}

TEST(ExposureDialogClose, ForANewStationKeepsTheStationAndSkipsTheChecks) {
    DialogData d;
    copy_text(d.station, "Darnholm");
    d.status = -16;
    ExposureTexts t = ValidTexts();
    t.station = "New station";
    t.year = "";
    EXPECT_EQ(CloseExposureDialog(d, t, false), ExposureField::None);
    EXPECT_STREQ(d.station, "Darnholm");
    EXPECT_STREQ(d.year, "");
    EXPECT_EQ(d.status, -16);
}

TEST(ExposureDialogClose, ForAVideoTheReferenceTimeIsTheExposureTime) {
    DialogData d;
    ExposureTexts t = ValidTexts();
    t.hour = "21", t.minute = "7", t.second = "30";
    t.refhour = t.refminute = t.refsecond = "";  // disabled and empty
    EXPECT_EQ(CloseExposureDialog(d, t, true), ExposureField::None);
    EXPECT_STREQ(d.refhour, "21");
    EXPECT_STREQ(d.refminute, "7");
    EXPECT_STREQ(d.refsecond, "30");
}

TEST(ExposureDialogClose, CutsTextsToTheirFieldLimits) {
    DialogData d;
    ExposureTexts t = ValidTexts();
    t.station = "A station name far too long";
    t.shutter = "12345678901234";
    CloseExposureDialog(d, t, false);
    EXPECT_STREQ(d.station, "A station name far");
    EXPECT_STREQ(d.shutter, "1234567890");
}

struct StationCase {
    const char* what;
    std::function<void(StationData&)> change;
    StationField bad;
};

void PrintTo(const StationCase& c, std::ostream* os) { *os << c.what; }

class StationCheck : public testing::TestWithParam<StationCase> {};

TEST_P(StationCheck, NamesTheFirstFieldMissingOrOutOfRange) {
    StationData s;
    copy_text(s.latdeg, "-89");
    copy_text(s.latmin, "0");
    copy_text(s.latsec, "59.9");
    copy_text(s.londeg, "-359");
    copy_text(s.lonmin, "59");
    copy_text(s.lonsec, "0");
    copy_text(s.height, "9999");
    GetParam().change(s);
    EXPECT_EQ(CloseStationDialog(s), GetParam().bad);
    EXPECT_EQ(s.accepted, GetParam().bad == StationField::None ? 0 : -1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StationCheck,
    testing::Values(
        StationCase{"extremes inside the ranges, no name", [](StationData&) {}, StationField::None},
        StationCase{"latitude 89, longitude 359", [](StationData& s) { copy_text(s.latdeg, "89"), copy_text(s.londeg, "359"); },
                    StationField::None},
        StationCase{"seconds 12.5.3", [](StationData& s) { copy_text(s.lonsec, "12.5.3"); }, StationField::None},
        StationCase{"latitude 90", [](StationData& s) { copy_text(s.latdeg, "90"); }, StationField::LatDeg},
        StationCase{"latitude -90", [](StationData& s) { copy_text(s.latdeg, "-90"); }, StationField::LatDeg},
        StationCase{"latitude only a minus sign", [](StationData& s) { copy_text(s.latdeg, "-"); }, StationField::LatDeg},
        StationCase{"empty latitude minutes", [](StationData& s) { copy_text(s.latmin, ""); }, StationField::LatMin},
        StationCase{"negative minutes", [](StationData& s) { copy_text(s.lonmin, "-1"); }, StationField::LonMin},
        StationCase{"seconds 60", [](StationData& s) { copy_text(s.latsec, "60"); }, StationField::LatSec},
        StationCase{"seconds only a point", [](StationData& s) { copy_text(s.lonsec, "."); }, StationField::LonSec},
        StationCase{"longitude 360", [](StationData& s) { copy_text(s.londeg, "360"); }, StationField::LonDeg},
        StationCase{"empty height", [](StationData& s) { copy_text(s.height, ""); }, StationField::Height}));

TEST(StationCombo, SelectsTheFirstEntryBeginningWithTheStationIgnoringCase) {
    const auto entries = StationEntries({"Darnholm          ", "Dar               ", "Ondrejov          "});
    EXPECT_EQ(entries.front(), "New station");
    EXPECT_EQ(FindEntryStartingWith(entries, "darn"), 1);
    EXPECT_EQ(FindEntryStartingWith(entries, "Darnholm          "), 1);
    EXPECT_EQ(FindEntryStartingWith(entries, "Dar "), 2);
    EXPECT_EQ(FindEntryStartingWith(entries, "Ondrejov Observatory"), -1);
    EXPECT_EQ(FindEntryStartingWith(entries, ""), -1);
}

TEST(ShutterCombo, OffersTheCustomTextSecondAndSelectsByPrefix) {
    DialogData d;
    copy_text(d.customshutter, "12.5");
    const auto entries = ShutterEntries(d);
    ASSERT_EQ(entries.size(), 10u);
    EXPECT_EQ(entries[1], "12.5");
    EXPECT_EQ(FindEntryStartingWith(entries, "12.5"), 1);
    EXPECT_EQ(FindEntryStartingWith(entries, "25.000"), 5);
    EXPECT_EQ(FindEntryStartingWith(entries, "0.0"), 0);
    for (std::size_t i = 2; i < entries.size(); ++i) EXPECT_EQ(entries[i].size(), 6u) << i;
}

}  // namespace
