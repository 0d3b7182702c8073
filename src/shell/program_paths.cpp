#include "shell/program_paths.h"

#include <unistd.h>

#include "files/options.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kAppName = "velkarn";

bool Exists(const fs::path& p) {
    std::error_code ec;
    return fs::is_regular_file(p, ec);
}

fs::path Lexical(const fs::path& p) { return p.lexically_normal(); }

fs::path FindManual(const ProgramLocations& where, const fs::path& data_dir, const PathProbes& probes) {
    std::vector<fs::path> bases{where.exe_dir};
    bases.insert(bases.end(), where.data_dirs.begin(), where.data_dirs.end());
    for (const fs::path& base : bases) {
        for (const fs::path& dir : {base / "manual", base / "docs" / "manual"}) {
            if (probes.holds_manual(dir)) return dir;
        }
    }
    return data_dir / "manual";
}

// The value of an environment variable when it names an absolute path, as
// the XDG rules require; anything else counts as not set.
fs::path AbsoluteFromEnv(const std::function<const char*(const char*)>& env, const char* name) {
    const char* v = env(name);
    if (v == nullptr || v[0] != '/') return {};
    return v;
}

}  // namespace

PathProbes FileSystemProbes() {
    PathProbes p;
    p.holds_catalogue = [](const fs::path& dir) { return Exists(dir / "skycat.dat"); };
    p.holds_index = [](const fs::path& dir) { return Exists(dir / "velkarn.ndx"); };
    p.holds_manual = [](const fs::path& dir) { return Exists(dir / "index.html"); };
    p.writable_file = [](const fs::path& file) {
        return Exists(file) && ::access(file.c_str(), W_OK) == 0;
    };
    return p;
}

ProgramPaths ResolveProgramPaths(const ProgramLocations& where, const PathProbes& probes) {
    ProgramPaths p;
    p.exe_dir = where.exe_dir;
    p.data_dir = where.exe_dir;
    if (!probes.holds_catalogue(where.exe_dir)) {
        for (const fs::path& dir : where.data_dirs) {
            if (probes.holds_catalogue(dir)) {
                p.data_dir = dir;
                break;
            }
        }
    }
    const bool portable = probes.writable_file(SettingsPath(where.exe_dir));
    p.settings_dir = portable || where.config_dir.empty() ? where.exe_dir : where.config_dir;
    p.program_dir = portable || where.app_data_dir.empty() ? where.exe_dir : where.app_data_dir;
    p.state_dir = portable || where.state_dir.empty() ? where.exe_dir : where.state_dir;
    p.manual_dir = FindManual(where, p.data_dir, probes);
    return p;
}

ProgramLocations StandardLocations(const fs::path& exe_dir, const std::function<const char*(const char*)>& env) {
    ProgramLocations where;
    where.exe_dir = exe_dir;
    const fs::path home = AbsoluteFromEnv(env, "HOME");
    fs::path config = AbsoluteFromEnv(env, "XDG_CONFIG_HOME");
    fs::path data = AbsoluteFromEnv(env, "XDG_DATA_HOME");
    fs::path state = AbsoluteFromEnv(env, "XDG_STATE_HOME");
    if (config.empty() && !home.empty()) config = home / ".config";
    if (data.empty() && !home.empty()) data = home / ".local" / "share";
    if (state.empty() && !home.empty()) state = home / ".local" / "state";
    if (!config.empty()) where.config_dir = config / kAppName;
    if (!data.empty()) where.app_data_dir = data / kAppName;
    if (!state.empty()) where.state_dir = state / kAppName;

    auto add = [&](const fs::path& dir) {
        const fs::path d = Lexical(dir);
        for (const fs::path& known : where.data_dirs) {
            if (known == d) return;
        }
        where.data_dirs.push_back(d);
    };
    if (!exe_dir.empty()) add(exe_dir / ".." / "share" / kAppName);
    const char* dirs = env("XDG_DATA_DIRS");
    std::string list = dirs && dirs[0] ? dirs : "/usr/local/share:/usr/share";
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t colon = list.find(':', start);
        if (colon == std::string::npos) colon = list.size();
        const std::string dir = list.substr(start, colon - start);
        if (!dir.empty() && dir[0] == '/') add(fs::path(dir) / kAppName);
        start = colon + 1;
    }
    return where;
}

bool CreateWritableDirs(const ProgramPaths& paths, std::error_code& ec) {
    for (const fs::path& dir : {paths.settings_dir, paths.program_dir, paths.state_dir}) {
        if (dir.empty()) continue;
        fs::create_directories(dir, ec);
        if (ec) return false;
    }
    return true;
}

SettingsEnvironment SettingsEnvironmentFor(const ProgramPaths& paths, const fs::path& home_dir, int screen_width,
                                           int screen_height) {
    SettingsEnvironment env;
    env.exe_dir = paths.exe_dir;
    env.home_dir = home_dir;
    env.screen_width = screen_width;
    env.screen_height = screen_height;
    env.settings_dir = paths.settings_dir;
    env.data_dir = paths.data_dir;
    env.program_dir = paths.program_dir;
    return env;
}

CatalogueFiles CatalogueFilesFor(const Options& options, const ProgramPaths& paths, const PathProbes& probes) {
    CatalogueFiles files;
    files.catalogue_dir = options.skycatdir;
    files.index_dir = probes.holds_index(files.catalogue_dir) ? files.catalogue_dir : paths.data_dir;
    return files;
}
