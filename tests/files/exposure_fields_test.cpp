#include "files/exposure_fields.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>

#include "session/fixed_text.h"

namespace {

// A field's text replaced by another, and the field then reported as bad.
struct FieldCase {
    std::string ExposureTexts::*field;
    const char* text;
    ExposureField bad;
};

class ExposureCheck : public testing::TestWithParam<FieldCase> {};

TEST_P(ExposureCheck, NamesTheFieldMissingOrOutOfRangeAndOnlyAValidCloseSetsStatus) {
    ExposureTexts t{"Darnholm", "M1", "13", "1900", "1", "1", "0", "00", "0", "23", "59", "59", "Zeiss", "25.000"};
    t.*GetParam().field = GetParam().text;
    DialogData d;
    EXPECT_EQ(CloseExposureDialog(d, t, false), GetParam().bad) << GetParam().text;
    EXPECT_EQ(d.status, GetParam().bad == ExposureField::None ? 0 : -8);
    EXPECT_EQ(d.hour, t.hour);  // stored even when refused
}

using T = ExposureTexts;
using E = ExposureField;
INSTANTIATE_TEST_SUITE_P(
    Cases, ExposureCheck,
    testing::Values(FieldCase{&T::image, "", E::None}, FieldCase{&T::year, "2100", E::None},
                    FieldCase{&T::refhour, " 5", E::None}, FieldCase{&T::year, "1899", E::Year},
                    FieldCase{&T::year, "", E::Year}, FieldCase{&T::month, "13", E::Month},
                    FieldCase{&T::day, "32", E::Day}, FieldCase{&T::hour, "24", E::Hour},
                    FieldCase{&T::minute, "60", E::Minute}, FieldCase{&T::second, " ", E::Second},
                    FieldCase{&T::refhour, "24", E::RefHour}, FieldCase{&T::refminute, "", E::RefMinute},
                    FieldCase{&T::refsecond, "60", E::RefSecond}, FieldCase{&T::station, "   ", E::Station}));

TEST(ExposureDialogClose, NeverStoresNewStationAsTheStationsName) {
    // Picking "New station" keeps the station and skips the checks.
    DialogData d;
    copy_text(d.station, "Darnholm");
    d.status = -16;
    ExposureTexts t{};
    t.station = "New station";
    EXPECT_EQ(CloseExposureDialog(d, t, false), ExposureField::None);
    EXPECT_STREQ(d.station, "Darnholm");
    EXPECT_EQ(d.status, -16);

    d.status = 0;
    t = {"New station", "M1", "13", "1900", "1", "1", "0", "00", "0", "23", "59", "59", "Zeiss", "25.000"};
    EXPECT_EQ(CloseExposureDialog(d, t, false), ExposureField::None);
    EXPECT_STREQ(d.station, "Darnholm");
    copy_text(d.station, "New station");  // stored so by an earlier program
    EXPECT_EQ(CloseExposureDialog(d, t, false), ExposureField::Station);
}

// The texts of a valid station, by control id (251 the name).
char* FieldText(StationData& s, StationField id) {
    char* texts[] = {s.name, s.latdeg, s.latmin, s.latsec, s.londeg, s.lonmin, s.lonsec, s.height};
    return texts[static_cast<int>(id) - 251];
}

class StationCheck : public testing::TestWithParam<std::tuple<StationField, const char*, StationField>> {};

TEST_P(StationCheck, NamesTheFieldMissingOrOutOfRange) {
    StationData s{"Darnholm", "-89", "0", "59.9", "-359", "59", "0", "9999"};
    const auto [field, text, bad] = GetParam();
    std::strcpy(FieldText(s, field), text);
    EXPECT_EQ(CloseStationDialog(s), bad) << text;
    EXPECT_EQ(s.accepted, bad == StationField::None ? 0 : -1);
}

using F = StationField;
INSTANTIATE_TEST_SUITE_P(
    Cases, StationCheck,
    testing::Values(std::tuple(F::LonDeg, "359", F::None), std::tuple(F::LonSec, "1.5.", F::None),
                    std::tuple(F::LatDeg, "90", F::LatDeg), std::tuple(F::LatDeg, "-", F::LatDeg),
                    std::tuple(F::LatMin, "", F::LatMin), std::tuple(F::LonMin, "-1", F::LonMin),
                    std::tuple(F::LatSec, "60", F::LatSec), std::tuple(F::LonDeg, "360", F::LonDeg),
                    std::tuple(F::Height, "", F::Height), std::tuple(F::Name, "  End of file", F::None),
                    std::tuple(F::Name, "End of file", F::Name), std::tuple(F::Name, "New station", F::Name)));

TEST(ListSelection, PicksTheFirstEntryBeginningWithTheTextIgnoringCase) {
    const auto stations = StationEntries({"Darnholm          ", "Dar               "});
    EXPECT_EQ(FindEntryStartingWith(stations, "darn"), 1);
    EXPECT_EQ(FindEntryStartingWith(stations, "Dar "), 2);
    EXPECT_EQ(FindEntryStartingWith(stations, "Darnholm Observatory"), -1);
    EXPECT_EQ(FindEntryStartingWith(stations, ""), -1);
    DialogData d;
    copy_text(d.customshutter, "12.5");
    const auto shutters = ShutterEntries(d);
    EXPECT_EQ(FindEntryStartingWith(shutters, "12.5"), 1);
    EXPECT_EQ(FindEntryStartingWith(shutters, "25.000"), 5);
}

TEST(StationChoice, OffersAStationMissingFromTheListAsAnExtraEntryAndNewStationWithoutAList) {
    const struct {
        std::optional<std::vector<std::string>> names;
        const char* station;
        std::vector<std::string> entries;
        int selected;
    } cases[] = {
        // The whole name before any prefix, ignoring case and the list's padding.
        {std::vector<std::string>{"Darnholm          ", "Darn              "}, "DARNHOLM",
         {"New station", "Darnholm          ", "Darn              "}, 1},
        {std::vector<std::string>{"Darnholm          ", "Darn              "}, "Darn",
         {"New station", "Darnholm          ", "Darn              "}, 2},
        {std::vector<std::string>{"Darnholm          "}, "Dar", {"New station", "Dar", "Darnholm          "}, 1},
        {std::nullopt, "Ondrejov", {"New station", "Ondrejov"}, 1},
        {std::nullopt, "", {"New station"}, 0},
        // Without a station nothing is selected.
        {std::vector<std::string>{"Darnholm"}, "", {"New station", "Darnholm"}, -1},
        {std::vector<std::string>{"Darnholm"}, "New station", {"New station", "Darnholm"}, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.station);
        const ListChoice choice = ChooseStation(c.names, c.station);
        EXPECT_EQ(choice.entries, c.entries);
        EXPECT_EQ(choice.selected, c.selected);
    }
}

TEST(ShutterChoice, SelectsTheEntryShowingTheValueAndKeepsAnyOtherValueAsTheCustomEntry) {
    const auto chosen = [](const char* shutter, const char* custom = "custom") {
        DialogData d;
        copy_text(d.shutter, shutter);
        copy_text(d.customshutter, custom);
        const int i = ChooseShutter(d);
        return std::pair<int, std::string>(i, ShutterEntries(d)[static_cast<std::size_t>(i)]);
    };
    EXPECT_EQ(chosen("8.333"), (std::pair<int, std::string>(2, "8.333 ")));
    EXPECT_EQ(chosen("25.000"), (std::pair<int, std::string>(5, "25.000")));
    EXPECT_EQ(chosen("12.5", "12.5"), (std::pair<int, std::string>(1, "12.5")));
    EXPECT_EQ(chosen("20.00"), (std::pair<int, std::string>(1, "20.00")));  // not "0.0"
    EXPECT_EQ(chosen("8"), (std::pair<int, std::string>(1, "8")));          // not "8.333"
    EXPECT_EQ(chosen("").first, 0);
}

}  // namespace
