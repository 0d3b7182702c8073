#include "files/exposure_dialogs.h"

#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <functional>

#include "files/exposure_fields.h"
#include "session/fixed_text.h"

namespace fs = std::filesystem;

namespace {

// Plays the user: each exposure dialog either picks "New station", confirms
// or cancels; each station dialog confirms a station or is cancelled.
class ScriptedDialogs : public ExposureDialogRunner {
public:
    enum class Data { NewStation, Ok, Cancel };
    std::deque<Data> data;
    std::deque<const char*> stations;  // nullptr: cancelled
    std::vector<std::string> stationsSeenAtOpen;

    int RunDataDialog(DialogData& d) override {
        stationsSeenAtOpen.push_back(d.station);
        const Data step = data.front();
        data.pop_front();
        if (step == Data::Cancel) return 2;
        if (step == Data::NewStation) d.status = -16;
        else d.status = 0;
        return 1;
    }
    void RunStationDialog(StationData& s) override {
        EXPECT_EQ(s.accepted, -1);
        EXPECT_STREQ(s.name, "");
        const char* name = stations.front();
        stations.pop_front();
        if (!name) return;
        copy_text(s.name, name);
        copy_text(s.latdeg, "50"), copy_text(s.latmin, "1"), copy_text(s.latsec, "2");
        copy_text(s.londeg, "5"), copy_text(s.lonmin, "3"), copy_text(s.lonsec, "4");
        copy_text(s.height, "10");
        if (CloseStationDialog(s) != StationField::None) ADD_FAILURE() << "scripted station refused";
    }
};

class ExposureDialogs : public testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("velkarn_expdlg_" + std::to_string(::getpid()) + "_" +
                                            testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        list_ = dir_ / "station.dat";
        std::ofstream(list_) << kStationHeading << "\n"
                             << "  Darnholm               0    48.  30.   0.0    11.  15.   2.5   450.\n"
                             << "  End of file\n";
        copy_text(d_.station, "Darnholm");
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path dir_;
    fs::path list_;
    DialogData d_;
    ScriptedDialogs ui_;
};

TEST_F(ExposureDialogs, AConfirmedNewStationIsAddedOnTopAndUsedInTheReopenedDialog) {
    ui_.data = {ScriptedDialogs::Data::NewStation, ScriptedDialogs::Data::Ok};
    ui_.stations = {"Ondrejov"};
    EXPECT_EQ(RunExposureDialogs(d_, ui_, list_), 1);
    EXPECT_STREQ(d_.station, "Ondrejov");
    EXPECT_EQ(ui_.stationsSeenAtOpen, (std::vector<std::string>{"Darnholm", "Ondrejov"}));
    const auto names = ReadStationNames(list_);
    ASSERT_TRUE(names);
    EXPECT_EQ(*names, (std::vector<std::string>{"Ondrejov          ", "Darnholm          "}));
    const auto entries = StationEntries(*names);
    EXPECT_EQ(FindEntryStartingWith(entries, d_.station), 1);
}

TEST_F(ExposureDialogs, ACancelledStationLeavesListAndStationAndReopensTheExposureDialog) {
    ui_.data = {ScriptedDialogs::Data::NewStation, ScriptedDialogs::Data::NewStation,
                ScriptedDialogs::Data::Cancel};
    ui_.stations = {nullptr, nullptr};
    EXPECT_EQ(RunExposureDialogs(d_, ui_, list_), 2);
    EXPECT_STREQ(d_.station, "Darnholm");
    EXPECT_EQ(ui_.stationsSeenAtOpen.size(), 3u);
    EXPECT_EQ(ReadStationNames(list_)->size(), 1u);
    EXPECT_EQ(d_.status, 0);
}

TEST_F(ExposureDialogs, AStationThatCannotBeListedIsStillUsed) {
    fs::create_directory(dir_ / kStationTempName);
    ui_.data = {ScriptedDialogs::Data::NewStation, ScriptedDialogs::Data::Ok};
    ui_.stations = {"Ondrejov"};
    EXPECT_EQ(RunExposureDialogs(d_, ui_, list_), 1);
    EXPECT_STREQ(d_.station, "Ondrejov");
    EXPECT_EQ(ReadStationNames(list_)->size(), 1u);
}

}  // namespace
