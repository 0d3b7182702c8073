#include "shell/program_paths.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <map>
#include <set>

#include "files/options.h"
#include "session/fixed_text.h"

namespace fs = std::filesystem;

namespace {

// A file system described by the files it holds.
struct FakeDisk {
    std::set<fs::path> files;
    std::set<fs::path> read_only;

    PathProbes Probes() const {
        PathProbes p;
        p.holds_catalogue = [this](const fs::path& d) { return files.count(d / "skycat.dat") > 0; };
        p.holds_index = [this](const fs::path& d) { return files.count(d / "velkarn.ndx") > 0; };
        p.holds_manual = [this](const fs::path& d) { return files.count(d / "index.html") > 0; };
        p.writable_file = [this](const fs::path& f) { return files.count(f) > 0 && read_only.count(f) == 0; };
        return p;
    }
};

ProgramLocations Installed() {
    ProgramLocations w;
    w.exe_dir = "/opt/vk/bin";
    w.data_dirs = {"/opt/vk/share/velkarn", "/usr/share/velkarn"};
    w.config_dir = "/home/o/.config/velkarn";
    w.app_data_dir = "/home/o/.local/share/velkarn";
    w.state_dir = "/home/o/.local/state/velkarn";
    return w;
}

TEST(ProgramPaths, AnInstalledProgramReadsItsDataFromShareAndWritesToTheUsersDirectories) {
    FakeDisk disk;
    disk.files = {"/usr/share/velkarn/skycat.dat", "/usr/share/velkarn/manual/index.html"};
    const ProgramPaths p = ResolveProgramPaths(Installed(), disk.Probes());
    EXPECT_EQ(p.exe_dir, "/opt/vk/bin");
    EXPECT_EQ(p.data_dir, "/usr/share/velkarn");
    EXPECT_EQ(p.settings_dir, "/home/o/.config/velkarn");
    EXPECT_EQ(p.program_dir, "/home/o/.local/share/velkarn");
    EXPECT_EQ(p.state_dir, "/home/o/.local/state/velkarn");
    EXPECT_EQ(p.manual_dir, "/usr/share/velkarn/manual");

    // The first data directory that holds the catalogue wins.
    disk.files.insert("/opt/vk/share/velkarn/skycat.dat");
    EXPECT_EQ(ResolveProgramPaths(Installed(), disk.Probes()).data_dir, "/opt/vk/share/velkarn");
}

TEST(ProgramPaths, AWritableIniBesideTheExecutableKeepsEverythingThere) {
    FakeDisk disk;
    disk.files = {"/opt/vk/bin/velkarn.ini", "/opt/vk/bin/skycat.dat", "/opt/vk/bin/docs/manual/index.html"};
    const ProgramPaths p = ResolveProgramPaths(Installed(), disk.Probes());
    EXPECT_EQ(p.data_dir, "/opt/vk/bin");
    EXPECT_EQ(p.settings_dir, "/opt/vk/bin");
    EXPECT_EQ(p.program_dir, "/opt/vk/bin");
    EXPECT_EQ(p.state_dir, "/opt/vk/bin");
    EXPECT_EQ(p.manual_dir, "/opt/vk/bin/docs/manual");

    // A read-only one (a system-wide install that ships one) does not.
    disk.read_only = {"/opt/vk/bin/velkarn.ini"};
    const ProgramPaths installed = ResolveProgramPaths(Installed(), disk.Probes());
    EXPECT_EQ(installed.settings_dir, "/home/o/.config/velkarn");
    EXPECT_EQ(installed.data_dir, "/opt/vk/bin");  // the data beside the executable still serves
}

TEST(ProgramPaths, WithoutUserDirectoriesOrDataTheExecutablesDirectoryServes) {
    FakeDisk disk;
    ProgramLocations w;
    w.exe_dir = "/x";
    const ProgramPaths p = ResolveProgramPaths(w, disk.Probes());
    EXPECT_EQ(p.data_dir, "/x");
    EXPECT_EQ(p.settings_dir, "/x");
    EXPECT_EQ(p.program_dir, "/x");
    EXPECT_EQ(p.manual_dir, "/x/manual");
}

TEST(ProgramPaths, StandardLocationsFollowTheXdgBaseDirectories) {
    std::map<std::string, std::string> vars = {{"HOME", "/home/o"}};
    auto env = [&](const char* name) -> const char* {
        const auto it = vars.find(name);
        return it == vars.end() ? nullptr : it->second.c_str();
    };
    ProgramLocations w = StandardLocations("/opt/vk/bin", env);
    EXPECT_EQ(w.config_dir, "/home/o/.config/velkarn");
    EXPECT_EQ(w.app_data_dir, "/home/o/.local/share/velkarn");
    EXPECT_EQ(w.state_dir, "/home/o/.local/state/velkarn");
    EXPECT_EQ(w.data_dirs,
              (std::vector<fs::path>{"/opt/vk/share/velkarn", "/usr/local/share/velkarn", "/usr/share/velkarn"}));

    vars = {{"HOME", "/home/o"}, {"XDG_CONFIG_HOME", "/cfg"}, {"XDG_DATA_HOME", "relative/ignored"},
            {"XDG_DATA_DIRS", "/usr/share::/d2:rel"}, {"XDG_STATE_HOME", "/st"}};
    w = StandardLocations("/usr/bin", env);
    EXPECT_EQ(w.config_dir, "/cfg/velkarn");
    EXPECT_EQ(w.state_dir, "/st/velkarn");
    EXPECT_EQ(w.app_data_dir, "/home/o/.local/share/velkarn");
    EXPECT_EQ(w.data_dirs, (std::vector<fs::path>{"/usr/share/velkarn", "/d2/velkarn"}));

    vars.clear();
    w = StandardLocations("/usr/bin", env);
    EXPECT_TRUE(w.config_dir.empty());
    EXPECT_TRUE(w.app_data_dir.empty());
    EXPECT_TRUE(w.state_dir.empty());
}

TEST(ProgramPaths, TheIndexIsTakenBesideTheCatalogueElseFromTheDataDirectory) {
    FakeDisk disk;
    disk.files = {"/own/cat/skycat.dat", "/own/cat/velkarn.ndx", "/usr/share/velkarn/velkarn.ndx"};
    ProgramPaths p;
    p.data_dir = "/usr/share/velkarn";
    Options o;
    copy_text(o.skycatdir, "/own/cat");
    EXPECT_EQ(CatalogueFilesFor(o, p, disk.Probes()).index_dir, "/own/cat");
    copy_text(o.skycatdir, "/other");
    const CatalogueFiles f = CatalogueFilesFor(o, p, disk.Probes());
    EXPECT_EQ(f.catalogue_dir, "/other");
    EXPECT_EQ(f.index_dir, "/usr/share/velkarn");
}

TEST(ProgramPaths, AnInstalledProgramMakesItsDirectoriesAndKeepsItsSettingsInTheConfigDirectory) {
    const fs::path root = fs::temp_directory_path() / ("velkarn_paths_" + std::to_string(getpid()));
    fs::remove_all(root);
    ProgramPaths p;
    p.exe_dir = root / "bin";
    p.data_dir = root / "share";
    p.settings_dir = root / "config" / "velkarn";
    p.program_dir = root / "data" / "velkarn";
    p.state_dir = root / "state" / "velkarn";
    std::error_code ec;
    ASSERT_TRUE(CreateWritableDirs(p, ec)) << ec.message();
    EXPECT_TRUE(fs::is_directory(p.program_dir));
    EXPECT_TRUE(fs::is_directory(p.state_dir));
    EXPECT_TRUE(fs::is_directory(p.settings_dir));

    // The settings file then lies in the config directory, the data in
    // the data directory and the station list with the logs.
    const SettingsEnvironment env = SettingsEnvironmentFor(p, "/home/o", 800, 600);
    EXPECT_EQ(env.exe_dir, p.exe_dir);
    EXPECT_EQ(env.settings_dir, p.settings_dir);
    EXPECT_EQ(env.data_dir, p.data_dir);
    EXPECT_EQ(env.program_dir, p.program_dir);
    EXPECT_EQ(env.home_dir, "/home/o");
    fs::remove_all(root);
}

}  // namespace
