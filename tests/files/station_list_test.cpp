#include "files/station_list.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <sstream>

#include "files/exposure_dialogs.h"
#include "files/exposure_fields.h"
#include "session/fixed_text.h"

namespace fs = std::filesystem;

namespace {

const std::string kHeading = std::string(kStationHeading) + "\n";
const std::string kDarnholm = "  Darnholm               0    48.  30.   0.0    11.  15.   2.5   450.\n";
const std::string kEnd = "  End of file\n";

StationData Station(const char* name, std::initializer_list<const char*> fields) {
    StationData s;
    copy_text(s.name, name);
    auto f = fields.begin();
    for (char* text : {s.latdeg, s.latmin, s.latsec, s.londeg, s.lonmin, s.lonsec, s.height}) std::strcpy(text, *f++);
    return s;
}

const StationData kDarnholmData = Station("Darnholm", {"48", "30", "0", "11", "15", "2.5", "450"});
const StationData kOndrejovData = Station("Ondrejov", {"-49", "5", "59.9", "-14", "46", "12.5.3", "9999"});
const std::string kOndrejov = "  Ondrejov               0   -49.   5.  59.9   -14.  46.  12.5  9999.\n";

// Plays the user of the exposure dialogs: picks "New station" as often as
// there are scripted stations (nullptr: the station dialog is cancelled),
// then confirms.
struct ScriptedDialogs : ExposureDialogRunner {
    std::vector<const char*> stations;
    std::vector<std::string> stationAtOpen;
    int RunDataDialog(DialogData& d) override {
        stationAtOpen.push_back(d.station);
        d.status = stationAtOpen.size() <= stations.size() ? -16 : 0;
        return 1;
    }
    void RunStationDialog(StationData& s) override {
        if (const char* name = stations[stationAtOpen.size() - 1]) {
            s = Station(name, {"-49", "5", "59.9", "-14", "46", "12.5.3", "9999"});
            CloseStationDialog(s);
        }
    }
};

class StationList : public testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("velkarn_station_" + std::to_string(getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        list_ = dir_ / "station.dat";
    }
    void TearDown() override { fs::remove_all(dir_); }
    void Write(const std::string& text) { std::ofstream(list_, std::ios::binary) << text; }
    std::string Read() const {
        std::stringstream s;
        s << std::ifstream(list_, std::ios::binary).rdbuf();
        return s.str();
    }
    fs::path dir_, list_;
};

TEST_F(StationList, ANewStationGoesOnTopAboveTheOlderRecordsAndTheEndLine) {
    EXPECT_EQ(StationRecord(kDarnholmData), kDarnholm);
    Write(kHeading + kDarnholm + kEnd + "  Dropped after the end line\n");
    ASSERT_TRUE(AddStation(list_, kOndrejovData));
    EXPECT_EQ(Read(), kHeading + kOndrejov + kDarnholm + kEnd);
    EXPECT_FALSE(fs::exists(dir_ / kStationTempName));
}

TEST_F(StationList, AMissingListOrOneWithoutEndLineIsExtendedWhole) {
    ASSERT_TRUE(AddStation(list_, kDarnholmData));
    EXPECT_EQ(Read(), kHeading + kDarnholm);
    Write(kHeading + kDarnholm + "  Last");
    ASSERT_TRUE(AddStation(list_, kOndrejovData));
    EXPECT_EQ(Read(), kHeading + kOndrejov + kDarnholm + "  Last\n");
}

TEST_F(StationList, ARecordHoldingANulByteIsCopiedByteForByte) {
    const std::string odd = std::string("  Od\0d station") + "     0    48.\n";
    Write(kHeading + odd + kDarnholm);
    ASSERT_TRUE(AddStation(list_, kOndrejovData));
    EXPECT_EQ(Read(), kHeading + kOndrejov + odd + kDarnholm);
}

TEST_F(StationList, AFailedAddLeavesTheOldListUntouched) {
    Write(kHeading + kDarnholm + kEnd);
    fs::create_directory(dir_ / kStationTempName);  // the new list cannot be built
    EXPECT_FALSE(AddStation(list_, kOndrejovData));
    EXPECT_EQ(Read(), kHeading + kDarnholm + kEnd);
    // A list that is itself called tempstat.dat is not emptied by its rebuild.
    fs::remove(dir_ / kStationTempName);
    list_ = dir_ / kStationTempName;
    Write(kHeading + kDarnholm + kEnd);
    ASSERT_TRUE(AddStation(list_, kOndrejovData));
    EXPECT_EQ(Read(), kHeading + kOndrejov + kDarnholm + kEnd);
}

TEST_F(StationList, NamesComeBackBlankPaddedInFileOrderUpToTheEndLine) {
    EXPECT_FALSE(ReadStationNames(list_));
    Write(kStationHeading + std::string("\r\n\r\n") + "  Ondrejov               0\r\n" + kDarnholm + kEnd + kOndrejov);
    EXPECT_EQ(ReadStationNames(list_), (std::vector<std::string>{"Ondrejov          ", "Darnholm          "}));
}

TEST_F(StationList, ANewStationIsListedOnlyWhenConfirmedAndIsSelectedInTheReopenedDialog) {
    Write(kHeading + kDarnholm + kEnd);
    DialogData d;
    copy_text(d.station, "Darnholm");
    ScriptedDialogs ui;
    ui.stations = {nullptr, "Ondrejov"};  // the first station dialog is cancelled
    EXPECT_EQ(RunExposureDialogs(d, ui, list_), 1);
    EXPECT_EQ(ui.stationAtOpen, (std::vector<std::string>{"Darnholm", "Darnholm", "Ondrejov"}));
    const auto names = ReadStationNames(list_);
    ASSERT_TRUE(names);
    EXPECT_EQ(*names, (std::vector<std::string>{"Ondrejov          ", "Darnholm          "}));
    EXPECT_EQ(FindEntryStartingWith(StationEntries(*names), d.station), 1);
}

}  // namespace
