#include "files/settings_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "session/fixed_text.h"
#include "support/scratch_dir.h"

namespace fs = std::filesystem;

namespace {

class SettingsFile : public testing::Test {
protected:
    std::string FileText() const { return testing_support::ReadText(SettingsPath(env_.exe_dir)); }
    // The file the program writes at close after starting with text as its
    // settings file (nullptr: none) and changing nothing.
    std::string Settled(const char* text) {
        if (text) std::ofstream(SettingsPath(env_.exe_dir), std::ios::binary) << text;
        Options o;
        const StartSettings start = GetIniValues(env_, o);
        EXPECT_TRUE(WriteIniValues(env_, o, start, start.window, false));
        return FileText();
    }
    // Its lines from Window to SkycatParms, joined by "|".
    std::string Numbers(const char* text) {
        std::istringstream in(Settled(text));
        std::string line, out;
        std::getline(in, line);  // [Velkarn]
        for (int i = 0; i < 5 && std::getline(in, line); ++i) out += (i ? "|" : "") + line;
        return out;
    }

    testing_support::ScratchDir dir_;
    SettingsEnvironment env_{dir_.path(), "/home/Observer", 1920, 1080};
};

TEST_F(SettingsFile, WithoutAFileEverySettingTakesItsDefault) {
    const std::string dir = env_.exe_dir.string();
    EXPECT_EQ(Settled(nullptr), "[Velkarn]\nWindow=0 0 1920 1080\nMarkCenter=1\nPCDResolution=5\nRandomness=0\n"
                                "SkycatParms=0.50   8.0\nSkycatDir=" + dir + "\nStationFile=" + dir +
                                    "/station.dat\nImage=/home/Observer/*.bmp\nOutputDir=/home/Observer\nStation=Darnholm\n"
                                    "CatalogueOverlay=0\n");
}

TEST_F(SettingsFile, BadNumbersFallBackEachOnItsOwn) {
    const std::pair<const char*, const char*> cases[] = {
        {"Randomness=15\nSkycatParms=0.05 7.5\nPCDResolution=1\n",
         "Window=0 0 1920 1080|MarkCenter=1|PCDResolution=5|Randomness=1|SkycatParms=0.50   7.5"},
        {"SkycatParms=2\nPCDResolution=x\nRandomness=x\nMarkCenter=x\nWindow=1 2 3\n",
         "Window=0 0 1920 1080|MarkCenter=1|PCDResolution=5|Randomness=0|SkycatParms=2.00   8.0"},
        {"SkycatParms=nan nan\nMarkCenter=0\nRandomness=10\nPCDResolution=2\n",
         "Window=0 0 1920 1080|MarkCenter=0|PCDResolution=2|Randomness=10|SkycatParms=0.50   8.0"},
        // "%i" reads octal and hexadecimal; MarkCenter is read as decimal.
        {"Window=010 0x10 640 480\nPCDResolution=04\nMarkCenter=010\nRandomness=0x0a\n",
         "Window=8 16 640 480|MarkCenter=10|PCDResolution=4|Randomness=10|SkycatParms=0.50   8.0"},
        // Keys are case-sensitive and must start the line; the first match wins.
        {"window=1 2 3 4\n PCDResolution=3\nRandomness=7\nRandomness=3\n",
         "Window=0 0 1920 1080|MarkCenter=1|PCDResolution=5|Randomness=7|SkycatParms=0.50   8.0"},
    };
    for (const auto& [text, numbers] : cases) EXPECT_EQ(Numbers(text), numbers) << text;
}

TEST_F(SettingsFile, AWrittenFileReadsBackTheSameOptionsWithTheirCase) {
    Options o{"/Data/Meteors/Station.DAT", "/Data/SkyCat", "/Data/Images 2026/*.bmp", "/Data/Sessions",
              "Ondrejov", 3, 4, 1.25f, 6.5f, 0};
    copy_text(o.stationfile, "/home/observer/" + std::string(200, 'd') + "/Station.DAT");
    ASSERT_TRUE(WriteIniValues(env_, o, StartSettings{}, {10, 20, 800, 600}, false));
    const std::string written = FileText();
    EXPECT_EQ(written.substr(0, written.find("SkycatDir")),
              "[Velkarn]\nWindow=10 20 800 600\nMarkCenter=0\nPCDResolution=3\nRandomness=4\nSkycatParms=1.25   6.5\n");
    EXPECT_EQ(Settled(nullptr), written);
}

TEST_F(SettingsFile, SettingsDataAndWrittenFilesCanLiveInThreeDirectories) {
    // As installed on Linux: velkarn.ini in the config directory, the
    // catalogue in the data directory, the station list with the logs.
    env_.settings_dir = env_.exe_dir / "config";
    env_.data_dir = "/usr/share/velkarn";
    env_.program_dir = "/home/Observer/.local/share/velkarn";
    fs::create_directories(env_.settings_dir);
    Options o;
    const StartSettings start = GetIniValues(env_, o);
    EXPECT_EQ(std::string(o.skycatdir) + "|" + o.stationfile,
              "/usr/share/velkarn|/home/Observer/.local/share/velkarn/station.dat");
    ASSERT_TRUE(WriteIniValues(env_, o, start, start.window, false));
    EXPECT_EQ(SettingsPath(env_), env_.settings_dir / "velkarn.ini");
    EXPECT_TRUE(fs::exists(SettingsPath(env_)));
    EXPECT_FALSE(fs::exists(SettingsPath(env_.exe_dir)));

    // Read back from there, the written values win over the defaults.
    std::ofstream(SettingsPath(env_), std::ios::binary) << "SkycatDir=/own/cat\nRandomness=3\n";
    GetIniValues(env_, o);
    EXPECT_EQ(std::tuple(std::string(o.skycatdir), o.randomness), std::tuple("/own/cat", 3));
}

}  // namespace

TEST_F(SettingsFile, APathTooLongForItsFieldIsNeverCutButReplacedByItsDefaultAndAValueEndsAtACarriageReturnOrNul) {
    const std::string long_dir = "/data/" + std::string(300, 'd');
    const std::string text = "SkycatDir=" + long_dir + "\nOutputDir=/obs/" + std::string(254, 'o') + "\n";
    std::ofstream(SettingsPath(env_.exe_dir), std::ios::binary) << text;
    Options o;
    StartSettings start = GetIniValues(env_, o);
    EXPECT_EQ(std::string(o.skycatdir), env_.exe_dir.string());
    ASSERT_EQ(start.warnings.size(), 1u);
    EXPECT_EQ(start.warnings[0], OverlongPathText(long_dir, "SkycatDir in velkarn.ini is not used; the default\n" +
                                                                env_.exe_dir.string() + "\nis."));
    EXPECT_TRUE(start.warnings[0].starts_with("The path\n/data/dddd")) << start.warnings[0];
    EXPECT_EQ(std::string(o.outputdir), "/obs/" + std::string(254, 'o'));  // 259 characters fit

    // A default that is itself too long leaves the field empty.
    env_.home_dir = "/home/" + std::string(300, 'h');
    start = GetIniValues(env_, o);
    EXPECT_EQ(std::tuple(std::string(o.image), start.warnings.size()), std::tuple("", 2u));

    std::ofstream(SettingsPath(env_.exe_dir), std::ios::binary)
        << std::string("Image=/photos/*.bmp\r\0junk\nStation=Dar\0nholm\nOutputDir=/obs\r\r\r\n", 62);
    GetIniValues(env_, o);
    EXPECT_EQ(std::string(o.image) + "|" + o.station + "|" + o.outputdir, "/photos/*.bmp|Dar|/obs");
}
