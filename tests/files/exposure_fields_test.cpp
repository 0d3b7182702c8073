#include "files/exposure_fields.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>

#include "session/fixed_text.h"

namespace {

// A field's text replaced by another, and the field then reported as bad.
TEST(ExposureCheck, NamesTheFieldMissingOrOutOfRangeOnlyAValidCloseSetsStatusAndNewStationIsNeverStored) {
    using T = ExposureTexts;
    using E = ExposureField;
    const struct {
        std::string T::*field;
        const char* text;
        E bad;
    } cases[] = {{&T::image, "", E::None},        {&T::year, "2100", E::None},    {&T::refhour, " 5", E::None},
                 {&T::year, "1899", E::Year},     {&T::month, "13", E::Month},    {&T::day, "32", E::Day},
                 {&T::hour, "24", E::Hour},       {&T::minute, "60", E::Minute},  {&T::second, " ", E::Second},
                 {&T::refhour, "24", E::RefHour}, {&T::refminute, "", E::RefMinute},
                 {&T::refsecond, "60", E::RefSecond}, {&T::station, "   ", E::Station}};
    for (const auto& c : cases) {
        ExposureTexts t{"Darnholm", "M1", "13", "1900", "1", "1", "0", "00", "0", "23", "59", "59", "Zeiss", "25.000"};
        t.*c.field = c.text;
        DialogData d;
        EXPECT_EQ(CloseExposureDialog(d, t, false), c.bad) << c.text;
        EXPECT_EQ(d.status, c.bad == E::None ? 0 : -8) << c.text;
        EXPECT_EQ(d.hour, t.hour);  // stored even when refused
    }

    // Picking "New station" keeps the station and skips the checks.
    DialogData d;
    copy_text(d.station, "Darnholm");
    d.status = -16;
    ExposureTexts t{};
    t.station = "New station";
    EXPECT_EQ(CloseExposureDialog(d, t, false), ExposureField::None);
    EXPECT_EQ(std::tuple(std::string(d.station), d.status), std::tuple("Darnholm", -16));

    d.status = 0;
    t = {"New station", "M1", "13", "1900", "1", "1", "0", "00", "0", "23", "59", "59", "Zeiss", "25.000"};
    EXPECT_EQ(CloseExposureDialog(d, t, false), ExposureField::None);
    EXPECT_STREQ(d.station, "Darnholm");
    copy_text(d.station, "New station");  // stored so by an earlier program
    EXPECT_EQ(CloseExposureDialog(d, t, false), ExposureField::Station);
}

TEST(StationCheck, NamesTheFieldMissingOrOutOfRange) {
    using F = StationField;
    const std::tuple<F, const char*, F> cases[] = {
        {F::LonDeg, "359", F::None},   {F::LonSec, "1.5.", F::None}, {F::LatDeg, "90", F::LatDeg},
        {F::LatDeg, "-", F::LatDeg},   {F::LatMin, "", F::LatMin},   {F::LonMin, "-1", F::LonMin},
        {F::LatSec, "60", F::LatSec},  {F::LonDeg, "360", F::LonDeg}, {F::Height, "", F::Height},
        {F::Name, "  End of file", F::None}, {F::Name, "End of file", F::Name}, {F::Name, "New station", F::Name}};
    for (const auto& [field, text, bad] : cases) {
        StationData s{"Darnholm", "-89", "0", "59.9", "-359", "59", "0", "9999"};
        // The texts by control id, 251 the name.
        char* texts[] = {s.name, s.latdeg, s.latmin, s.latsec, s.londeg, s.lonmin, s.lonsec, s.height};
        std::strcpy(texts[static_cast<int>(field) - 251], text);
        EXPECT_EQ(CloseStationDialog(s), bad) << text;
        EXPECT_EQ(s.accepted, bad == F::None ? 0 : -1) << text;
    }
}

TEST(ListSelection, PicksTheFirstEntryBeginningWithTheTextAndTheShutterEntryShowingTheValueOrTheCustomOne) {
    const auto stations = StationEntries({"Darnholm          ", "Dar               "});
    for (const auto& [prefix, index] : {std::pair{"darn", 1}, {"Dar ", 2}, {"Darnholm Observatory", -1}, {"", -1}})
        EXPECT_EQ(FindEntryStartingWith(stations, prefix), index) << prefix;
    DialogData d;
    copy_text(d.customshutter, "12.5");
    const auto shutters = ShutterEntries(d);
    EXPECT_EQ(std::pair(FindEntryStartingWith(shutters, "12.5"), FindEntryStartingWith(shutters, "25.000")),
              std::pair(1, 5));

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

TEST(StationChoice, OffersAStationMissingFromTheListAsAnExtraEntryAndNewStationWithoutAList) {
    const std::vector<std::string> both{"Darnholm          ", "Darn              "};
    const struct {
        std::optional<std::vector<std::string>> names;
        const char* station;
        std::vector<std::string> entries;
        int selected;
    } cases[] = {
        // The whole name before any prefix, ignoring case and the list's padding.
        {both, "DARNHOLM", {"New station", "Darnholm          ", "Darn              "}, 1},
        {both, "Darn", {"New station", "Darnholm          ", "Darn              "}, 2},
        {std::vector<std::string>{"Darnholm          "}, "Dar", {"New station", "Dar", "Darnholm          "}, 1},
        {std::nullopt, "Ondrejov", {"New station", "Ondrejov"}, 1},
        {std::nullopt, "", {"New station"}, 0},
        // Without a station nothing is selected.
        {std::vector<std::string>{"Darnholm"}, "", {"New station", "Darnholm"}, -1},
        {std::vector<std::string>{"Darnholm"}, "New station", {"New station", "Darnholm"}, -1},
    };
    for (const auto& c : cases) {
        const ListChoice choice = ChooseStation(c.names, c.station);
        EXPECT_EQ(std::pair(choice.entries, choice.selected), std::pair(c.entries, c.selected)) << c.station;
    }
}

}  // namespace
