#include "files/settings_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "session/fixed_text.h"

namespace fs = std::filesystem;

namespace {

class SettingsFile : public testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("velkarn_ini_" + std::to_string(::getpid()) + "_" +
                                            testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        env_.exe_dir = dir_;
        env_.home_dir = "/home/Observer";
        env_.screen_width = 1920;
        env_.screen_height = 1080;
    }
    void TearDown() override { fs::remove_all(dir_); }

    void WriteIni(const std::string& text) { std::ofstream(SettingsPath(dir_), std::ios::binary) << text; }
    std::string ReadIni() const {
        std::ifstream in(SettingsPath(dir_), std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    StartSettings Read(const std::string& text) {
        WriteIni(text);
        options_ = Options{};
        return GetIniValues(env_, options_);
    }

    fs::path dir_;
    SettingsEnvironment env_;
    Options options_;
};

TEST_F(SettingsFile, WithoutAFileEverySettingTakesItsDefault) {
    const StartSettings start = GetIniValues(env_, options_);
    EXPECT_EQ(start.window.left, 0);
    EXPECT_EQ(start.window.top, 0);
    EXPECT_EQ(start.window.width, 1920);
    EXPECT_EQ(start.window.height, 1080);
    EXPECT_EQ(options_.pcdres, 5);
    EXPECT_EQ(options_.randomness, 0);
    EXPECT_FLOAT_EQ(options_.radius, 0.5f);
    EXPECT_FLOAT_EQ(options_.limit, 8.0f);
    EXPECT_EQ(options_.markcenter, 1u);
    EXPECT_STREQ(options_.station, "Darnholm");
    EXPECT_EQ(fs::path(options_.stationfile), dir_ / "station.dat");
    EXPECT_EQ(fs::path(options_.skycatdir), dir_);
    EXPECT_STREQ(options_.image, "/home/Observer/*.bmp");
    EXPECT_STREQ(options_.outputdir, "/home/Observer");
    EXPECT_STREQ(start.IniImage, "/home/Observer/*.bmp");
    EXPECT_STREQ(start.IniOutputDir, "/home/Observer");
}

TEST_F(SettingsFile, NumbersOutsideTheirRangesFallBackAsDocumented) {
    Read("Randomness=15\nSkycatParms=0.05 7.5\nPCDResolution=1\n");
    EXPECT_EQ(options_.randomness, 1);
    EXPECT_FLOAT_EQ(options_.radius, 0.5f);
    EXPECT_FLOAT_EQ(options_.limit, 7.5f);
    EXPECT_EQ(options_.pcdres, 5);

    Read("SkycatParms=2\nPCDResolution=x\nRandomness=x\nMarkCenter=x\n");
    EXPECT_FLOAT_EQ(options_.radius, 2.0f);
    EXPECT_FLOAT_EQ(options_.limit, 8.0f);
    EXPECT_EQ(options_.pcdres, 5);
    EXPECT_EQ(options_.randomness, 0);
    EXPECT_EQ(options_.markcenter, 1u);

    Read("SkycatParms=nan nan\nMarkCenter=0\nRandomness=10\nPCDResolution=2\n");
    EXPECT_FLOAT_EQ(options_.radius, 0.5f);
    EXPECT_FLOAT_EQ(options_.limit, 8.0f);
    EXPECT_EQ(options_.markcenter, 0u);
    EXPECT_EQ(options_.randomness, 10);
    EXPECT_EQ(options_.pcdres, 2);
}

TEST_F(SettingsFile, IntegersReadWithPercentIAcceptOctalAndHexButMarkCenterIsDecimal) {
    const StartSettings start = Read("Window=010 0x10 640 480\nPCDResolution=04\nMarkCenter=010\n");
    EXPECT_EQ(start.window.left, 8);
    EXPECT_EQ(start.window.top, 16);
    EXPECT_EQ(start.window.width, 640);
    EXPECT_EQ(start.window.height, 480);
    EXPECT_EQ(options_.pcdres, 4);
    EXPECT_EQ(options_.markcenter, 10u);
}

TEST_F(SettingsFile, KeysMatchOnlyExactlyAtTheStartOfALine) {
    StartSettings start = Read("window=1 2 3 4\n PCDResolution=3\nImage=/first/*.bmp\nImage=/second/*.bmp\n"
                               "StationFile=/lists/station.dat\nStation=Ondrejov\nOutputDir\n");
    EXPECT_EQ(start.window.width, 1920);
    EXPECT_EQ(options_.pcdres, 5);
    EXPECT_STREQ(options_.image, "/first/*.bmp");
    EXPECT_STREQ(options_.stationfile, "/lists/station.dat");
    EXPECT_STREQ(options_.station, "Ondrejov");
    EXPECT_STREQ(options_.outputdir, "/home/Observer");  // a key line without "=" counts as missing

    start = Read("Window=1 2 3\n");
    EXPECT_EQ(start.window.left, 0);
    EXPECT_EQ(start.window.width, 1920);
    EXPECT_EQ(start.window.height, 1080);
}

TEST_F(SettingsFile, TextValuesKeepTheirBlanksAndTheStationIsCutTo18) {
    Read("SkycatDir= /cat dir \r\nStation=A very long station name\n");
    EXPECT_STREQ(options_.skycatdir, " /cat dir ");
    EXPECT_STREQ(options_.station, "A very long statio");
}

TEST_F(SettingsFile, OnlyTheFirst19LinesAreLookedAt) {
    std::string text;
    for (int i = 1; i <= 25; ++i) text += i == 22 ? "OutputDir=/late\n" : i == 19 ? "Station=Nineteen\n" : "x=1\n";
    Read(text);
    EXPECT_STREQ(options_.outputdir, "/home/Observer");
    EXPECT_STREQ(options_.station, "Nineteen");
}

TEST_F(SettingsFile, AWrittenFileHasTheFixedLayoutAndReadsBackTheSameOptionsWithTheirCase) {
    Options o;
    copy_text(o.stationfile, "/Data/Meteors/Station.DAT");
    copy_text(o.skycatdir, "/Data/SkyCat");
    copy_text(o.image, "/Data/Images 2026/Perseids/*.bmp");
    copy_text(o.outputdir, "/Data/Sessions");
    copy_text(o.station, "Ondrejov");
    o.pcdres = 3;
    o.randomness = 4;
    o.radius = 1.25f;
    o.limit = 6.5f;
    o.markcenter = 0;
    StartSettings start;
    ASSERT_TRUE(WriteIniValues(env_, o, start, {10, 20, 800, 600}, false));
    EXPECT_EQ(ReadIni(),
              "[Velkarn]\nWindow=10 20 800 600\nMarkCenter=0\nPCDResolution=3\nRandomness=4\n"
              "SkycatParms=1.25   6.5\nSkycatDir=/Data/SkyCat\nStationFile=/Data/Meteors/Station.DAT\n"
              "Image=/Data/Images 2026/Perseids/*.bmp\nOutputDir=/Data/Sessions\nStation=Ondrejov\n");

    Options back;
    start = GetIniValues(env_, back);
    EXPECT_STREQ(back.stationfile, o.stationfile);
    EXPECT_STREQ(back.skycatdir, o.skycatdir);
    EXPECT_STREQ(back.image, o.image);
    EXPECT_STREQ(back.outputdir, o.outputdir);
    EXPECT_STREQ(back.station, o.station);
    EXPECT_EQ(back.pcdres, o.pcdres);
    EXPECT_EQ(back.randomness, o.randomness);
    EXPECT_EQ(back.radius, o.radius);
    EXPECT_EQ(back.limit, o.limit);
    EXPECT_EQ(back.markcenter, o.markcenter);
    EXPECT_EQ(start.window.left, 10);
    EXPECT_EQ(start.window.height, 600);
    EXPECT_STREQ(start.IniImage, o.image);
}

TEST_F(SettingsFile, LongPathsSurviveTheRoundTrip) {
    Options o;
    const std::string deep = "/home/observer/" + std::string(200, 'd') + "/station.dat";
    copy_text(o.stationfile, deep);
    ASSERT_TRUE(WriteIniValues(env_, o, StartSettings{}, {}, false));
    Options back;
    GetIniValues(env_, back);
    EXPECT_EQ(back.stationfile, deep);
}

TEST_F(SettingsFile, RemovableDrivePathsAreReplacedByThoseReadAtStart) {
    Options o;
    copy_text(o.image, "a:/pics/*.bmp");
    copy_text(o.outputdir, "A:/sessions");
    StartSettings start;
    copy_text(start.IniImage, "/home/Observer/*.bmp");
    copy_text(start.IniOutputDir, "/home/Observer");
    ASSERT_TRUE(WriteIniValues(env_, o, start, {}, false));
    GetIniValues(env_, o);
    EXPECT_STREQ(o.image, "/home/Observer/*.bmp");
    EXPECT_STREQ(o.outputdir, "A:/sessions");
}

TEST_F(SettingsFile, AMaximisedWindowIsStoredAsCoveringTheScreen) {
    ASSERT_TRUE(WriteIniValues(env_, Options{}, StartSettings{}, {10, 20, 800, 600}, true));
    Options o;
    const StartSettings start = GetIniValues(env_, o);
    EXPECT_EQ(start.window.left, 0);
    EXPECT_EQ(start.window.top, 0);
    EXPECT_EQ(start.window.width, 1920);
    EXPECT_EQ(start.window.height, 1080);
}

TEST_F(SettingsFile, AnUnwritableDirectoryIsReportedAndLeavesNoFile) {
    env_.exe_dir = dir_ / "missing";
    EXPECT_FALSE(WriteIniValues(env_, Options{}, StartSettings{}, {}, false));
    EXPECT_FALSE(fs::exists(env_.exe_dir));
}

}  // namespace
