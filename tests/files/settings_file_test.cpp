#include "files/settings_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "session/fixed_text.h"

namespace fs = std::filesystem;

namespace {

class SettingsFile : public testing::Test {
protected:
    void SetUp() override {
        env_.exe_dir = fs::temp_directory_path() / ("velkarn_ini_" + std::to_string(getpid()));
        env_.home_dir = "/home/Observer";
        env_.screen_width = 1920;
        env_.screen_height = 1080;
        fs::remove_all(env_.exe_dir);
        fs::create_directories(env_.exe_dir);
    }
    void TearDown() override { fs::remove_all(env_.exe_dir); }

    // Reads a file holding text into fresh options.
    StartSettings Read(const std::string& text) {
        std::ofstream(SettingsPath(env_.exe_dir), std::ios::binary) << text;
        o_ = Options{};
        return GetIniValues(env_, o_);
    }
    std::string FileText() const {
        std::stringstream s;
        s << std::ifstream(SettingsPath(env_.exe_dir), std::ios::binary).rdbuf();
        return s.str();
    }
    void ExpectWindow(const StartSettings& s, int left, int top, int width, int height) {
        EXPECT_EQ(s.window.left, left);
        EXPECT_EQ(s.window.top, top);
        EXPECT_EQ(s.window.width, width);
        EXPECT_EQ(s.window.height, height);
    }

    SettingsEnvironment env_;
    Options o_;
};

TEST_F(SettingsFile, WithoutAFileEverySettingTakesItsDefault) {
    const StartSettings start = GetIniValues(env_, o_);
    ExpectWindow(start, 0, 0, 1920, 1080);
    EXPECT_EQ(o_.pcdres, 5);
    EXPECT_EQ(o_.randomness, 0);
    EXPECT_EQ(o_.radius, 0.5f);
    EXPECT_EQ(o_.limit, 8.0f);
    EXPECT_EQ(o_.markcenter, 1u);
    EXPECT_STREQ(o_.station, "Darnholm");
    EXPECT_EQ(fs::path(o_.stationfile), env_.exe_dir / "station.dat");
    EXPECT_EQ(fs::path(o_.skycatdir), env_.exe_dir);
    EXPECT_STREQ(o_.image, "/home/Observer/*.bmp");
    EXPECT_STREQ(o_.outputdir, "/home/Observer");
    EXPECT_STREQ(start.IniImage, o_.image);
    EXPECT_STREQ(start.IniOutputDir, o_.outputdir);
}

TEST_F(SettingsFile, BadNumbersFallBackEachOnItsOwn) {
    Read("Randomness=15\nSkycatParms=0.05 7.5\nPCDResolution=1\n");
    EXPECT_EQ(o_.randomness, 1);
    EXPECT_EQ(o_.radius, 0.5f);
    EXPECT_EQ(o_.limit, 7.5f);
    EXPECT_EQ(o_.pcdres, 5);
    Read("SkycatParms=2\nPCDResolution=x\nRandomness=x\nMarkCenter=x\n");
    EXPECT_EQ(o_.radius, 2.0f);
    EXPECT_EQ(o_.limit, 8.0f);
    EXPECT_EQ(o_.pcdres, 5);
    EXPECT_EQ(o_.randomness, 0);
    EXPECT_EQ(o_.markcenter, 1u);
    Read("SkycatParms=nan nan\n");
    EXPECT_EQ(o_.radius, 0.5f);
    EXPECT_EQ(o_.limit, 8.0f);
    // "%i" reads octal and hexadecimal; MarkCenter is read as decimal.
    ExpectWindow(Read("Window=010 0x10 640 480\nPCDResolution=04\nMarkCenter=010\n"), 8, 16, 640, 480);
    EXPECT_EQ(o_.pcdres, 4);
    EXPECT_EQ(o_.markcenter, 10u);
    ExpectWindow(Read("Window=1 2 3\n"), 0, 0, 1920, 1080);
}

TEST_F(SettingsFile, KeysMatchExactlyAtTheStartOfTheFirst19LinesAndTheFirstMatchWins) {
    ExpectWindow(Read("window=1 2 3 4\n PCDResolution=3\nImage=/first/*.bmp\nImage=/second/*.bmp\n"
                      "StationFile=/lists/station.dat\nStation=A very long station name\nOutputDir\n"
                      "SkycatDir= /cat dir \r\n"),
                 0, 0, 1920, 1080);
    EXPECT_EQ(o_.pcdres, 5);
    EXPECT_STREQ(o_.image, "/first/*.bmp");
    EXPECT_STREQ(o_.stationfile, "/lists/station.dat");
    EXPECT_STREQ(o_.station, "A very long statio");
    EXPECT_STREQ(o_.outputdir, "/home/Observer");  // a key without "=" counts as missing
    EXPECT_STREQ(o_.skycatdir, " /cat dir ");
    std::string text;
    for (int i = 1; i <= 25; ++i) text += i == 22 ? "OutputDir=/late\n" : i == 19 ? "Station=Nineteen\n" : "x=1\n";
    Read(text);
    EXPECT_STREQ(o_.outputdir, "/home/Observer");
    EXPECT_STREQ(o_.station, "Nineteen");
}

TEST_F(SettingsFile, AWrittenFileHasTheFixedLayoutAndReadsBackTheSameOptionsWithTheirCase) {
    Options o{"/Data/Meteors/Station.DAT", "/Data/SkyCat", "/Data/Images 2026/*.bmp", "/Data/Sessions",
              "Ondrejov", 3, 4, 1.25f, 6.5f, 0};
    ASSERT_TRUE(WriteIniValues(env_, o, StartSettings{}, {10, 20, 800, 600}, false));
    EXPECT_EQ(FileText(), "[Velkarn]\nWindow=10 20 800 600\nMarkCenter=0\nPCDResolution=3\nRandomness=4\n"
                          "SkycatParms=1.25   6.5\nSkycatDir=/Data/SkyCat\nStationFile=/Data/Meteors/Station.DAT\n"
                          "Image=/Data/Images 2026/*.bmp\nOutputDir=/Data/Sessions\nStation=Ondrejov\n");
    const std::string written = FileText();
    const StartSettings start = GetIniValues(env_, o_);
    ASSERT_TRUE(WriteIniValues(env_, o_, start, start.window, false));
    EXPECT_EQ(FileText(), written);  // every option came back as it was

    const std::string deep = "/home/observer/" + std::string(200, 'd') + "/station.dat";
    copy_text(o.stationfile, deep);
    ASSERT_TRUE(WriteIniValues(env_, o, StartSettings{}, {}, false));
    GetIniValues(env_, o_);
    EXPECT_EQ(o_.stationfile, deep);
}

TEST_F(SettingsFile, RemovableDrivePathsAndAMaximisedWindowAreNotRemembered) {
    Options o;
    copy_text(o.image, "a:/pics/*.bmp");
    copy_text(o.outputdir, "A:/sessions");
    StartSettings start;
    copy_text(start.IniImage, "/home/Observer/*.bmp");
    ASSERT_TRUE(WriteIniValues(env_, o, start, {10, 20, 800, 600}, true));
    ExpectWindow(GetIniValues(env_, o_), 0, 0, 1920, 1080);
    EXPECT_STREQ(o_.image, "/home/Observer/*.bmp");
    EXPECT_STREQ(o_.outputdir, "A:/sessions");
}

TEST_F(SettingsFile, AFileThatCannotBeWrittenIsReported) {
    env_.exe_dir /= "missing";
    EXPECT_FALSE(WriteIniValues(env_, Options{}, StartSettings{}, {}, false));
}

}  // namespace
