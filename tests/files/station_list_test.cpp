#include "files/station_list.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "session/fixed_text.h"

namespace fs = std::filesystem;

namespace {

const std::string kHeading = kStationHeading;
const std::string kDarnholm = "  Darnholm               0    48.  30.   0.0    11.  15.   2.5   450.\n";

StationData Station(const char* name, const char* latdeg, const char* latmin, const char* latsec,
                    const char* londeg, const char* lonmin, const char* lonsec, const char* height) {
    StationData s;
    copy_text(s.name, name);
    copy_text(s.latdeg, latdeg);
    copy_text(s.latmin, latmin);
    copy_text(s.latsec, latsec);
    copy_text(s.londeg, londeg);
    copy_text(s.lonmin, lonmin);
    copy_text(s.lonsec, lonsec);
    copy_text(s.height, height);
    return s;
}

StationData Darnholm() { return Station("Darnholm", "48", "30", "0", "11", "15", "2.5", "450"); }

class StationList : public testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("velkarn_station_" + std::to_string(::getpid()) + "_" +
                                            testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        list_ = dir_ / "station.dat";
    }
    void TearDown() override { fs::remove_all(dir_); }

    void Write(const std::string& text) { std::ofstream(list_, std::ios::binary) << text; }
    std::string Read() const {
        std::ifstream in(list_, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    fs::path dir_;
    fs::path list_;
};

TEST(StationRecordLine, MatchesTheExampleByteForByte) { EXPECT_EQ(StationRecord(Darnholm()), kDarnholm); }

TEST(StationRecordLine, WritesSecondsAsNumbersAndNegativeDegreesAsTyped) {
    EXPECT_EQ(StationRecord(Station("Punta Arenas", "-53", "9", "59.9", "-70", "55", "12.5.3", "9999")),
              "  Punta Arenas           0   -53.   9.  59.9   -70.  55.  12.5  9999.\n");
}

TEST_F(StationList, NewStationGoesOnTopOfAnExistingListAboveTheEndLine) {
    Write(kHeading + "\n" + kDarnholm + "  End of file\n");
    ASSERT_TRUE(AddStation(list_, Station("Ondrejov", "49", "54", "38", "14", "46", "50", "527")));
    EXPECT_EQ(Read(), kHeading + "\n" +
                          "  Ondrejov               0    49.  54.  38.0    14.  46.  50.0   527.\n" + kDarnholm +
                          "  End of file\n");
    EXPECT_FALSE(fs::exists(dir_ / kStationTempName));
}

TEST_F(StationList, AMissingListIsCreatedWithTheNewStation) {
    ASSERT_TRUE(AddStation(list_, Darnholm()));
    EXPECT_EQ(Read(), kHeading + "\n" + kDarnholm);
}

TEST_F(StationList, AListWithoutEndLineIsCopiedWhole) {
    const std::string other = "  Other                  0     1.   2.   3.0     4.   5.   6.0     7.\n";
    Write(kHeading + "\n" + other + "  Last");  // no end line, no final newline
    ASSERT_TRUE(AddStation(list_, Darnholm()));
    EXPECT_EQ(Read(), kHeading + "\n" + kDarnholm + other + "  Last\n");
}

TEST_F(StationList, AFailedAddLeavesTheOldListUntouched) {
    const std::string old = kHeading + "\n" + kDarnholm + "  End of file\n";
    Write(old);
    fs::create_directory(dir_ / kStationTempName);  // the temporary file cannot be created
    EXPECT_FALSE(AddStation(list_, Station("New", "1", "2", "3", "4", "5", "6", "7")));
    EXPECT_EQ(Read(), old);
}

TEST_F(StationList, AListCalledTempstatIsNotEmptiedByItsOwnRebuild) {
    list_ = dir_ / kStationTempName;
    Write(kHeading + "\n" + kDarnholm + "  End of file\n");
    ASSERT_TRUE(AddStation(list_, Station("New", "1", "2", "3", "4", "5", "6", "7")));
    const auto names = ReadStationNames(list_);
    ASSERT_TRUE(names);
    EXPECT_EQ(names->size(), 2u);
}

TEST_F(StationList, NamesComeBackBlankPaddedInFileOrderUpToTheEndLine) {
    Write(kHeading + "\r\n\r\n" + "  Ondrejov               0    49.  54.  38.0    14.  46.  50.0   527.\r\n" +
          kDarnholm + "  End of file\n" + "  Ignored                0\n");
    const auto names = ReadStationNames(list_);
    ASSERT_TRUE(names);
    EXPECT_EQ(*names, (std::vector<std::string>{"Ondrejov          ", "Darnholm          "}));
}

TEST_F(StationList, AMissingListGivesNoNamesAndAnAddedStationReadsBack) {
    EXPECT_FALSE(ReadStationNames(list_));
    ASSERT_TRUE(AddStation(list_, Darnholm()));
    EXPECT_EQ(ReadStationNames(list_), (std::vector<std::string>{"Darnholm          "}));
}

}  // namespace
