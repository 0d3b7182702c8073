#include "shell/program_paths.h"

#include <gtest/gtest.h>

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

// Data, settings, program, state and manual directories.
std::vector<fs::path> Dirs(const FakeDisk& disk) {
    ProgramLocations w;
    w.exe_dir = "/opt/vk/bin";
    w.data_dirs = {"/opt/vk/share/velkarn", "/usr/share/velkarn"};
    w.config_dir = "/home/o/.config/velkarn";
    w.app_data_dir = "/home/o/.local/share/velkarn";
    w.state_dir = "/home/o/.local/state/velkarn";
    const ProgramPaths p = ResolveProgramPaths(w, disk.Probes());
    return {p.data_dir, p.settings_dir, p.program_dir, p.state_dir, p.manual_dir};
}

TEST(ProgramPaths, AnInstalledProgramReadsFromShareAndWritesToTheUsersDirectoriesUnlessAWritableIniLiesBesideIt) {
    FakeDisk disk;
    disk.files = {"/usr/share/velkarn/skycat.dat", "/usr/share/velkarn/manual/index.html"};
    EXPECT_EQ(Dirs(disk), (std::vector<fs::path>{"/usr/share/velkarn", "/home/o/.config/velkarn", "/home/o/.local/share/velkarn",
                                                 "/home/o/.local/state/velkarn", "/usr/share/velkarn/manual"}));
    disk.files = {"/opt/vk/bin/velkarn.ini", "/opt/vk/bin/skycat.dat", "/opt/vk/bin/docs/manual/index.html"};
    EXPECT_EQ(Dirs(disk), (std::vector<fs::path>{"/opt/vk/bin", "/opt/vk/bin", "/opt/vk/bin", "/opt/vk/bin",
                                                 "/opt/vk/bin/docs/manual"}));
    // A read-only one (a system-wide install that ships one) does not.
    disk.read_only = {"/opt/vk/bin/velkarn.ini"};
    EXPECT_EQ(Dirs(disk)[1], "/home/o/.config/velkarn");
    EXPECT_EQ(Dirs(disk)[0], "/opt/vk/bin");  // the data beside the executable still serve
}

TEST(ProgramPaths, StandardLocationsFollowTheXdgBaseDirectories) {
    std::map<std::string, std::string> vars = {{"HOME", "/home/o"}};
    auto env = [&](const char* name) -> const char* {
        const auto it = vars.find(name);
        return it == vars.end() ? nullptr : it->second.c_str();
    };
    ProgramLocations w = StandardLocations("/opt/vk/bin", env);
    EXPECT_EQ((std::vector<fs::path>{w.config_dir, w.app_data_dir, w.state_dir}),
              (std::vector<fs::path>{"/home/o/.config/velkarn", "/home/o/.local/share/velkarn", "/home/o/.local/state/velkarn"}));
    EXPECT_EQ(w.data_dirs,
              (std::vector<fs::path>{"/opt/vk/share/velkarn", "/usr/local/share/velkarn", "/usr/share/velkarn"}));

    vars = {{"HOME", "/home/o"}, {"XDG_CONFIG_HOME", "/cfg"}, {"XDG_DATA_HOME", "relative/ignored"},
            {"XDG_DATA_DIRS", "/usr/share::/d2:rel"}, {"XDG_STATE_HOME", "/st"}};
    w = StandardLocations("/usr/bin", env);
    EXPECT_EQ((std::vector<fs::path>{w.config_dir, w.app_data_dir, w.state_dir}),
              (std::vector<fs::path>{"/cfg/velkarn", "/home/o/.local/share/velkarn", "/st/velkarn"}));
    EXPECT_EQ(w.data_dirs, (std::vector<fs::path>{"/usr/share/velkarn", "/d2/velkarn"}));
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

}  // namespace
