#include "identify/plate_solver.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "identify/xylist_file.h"
#include "platform/c_locale.h"
#include "platform/progress.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

constexpr const char* kConfig = "/etc/astrometry.cfg";
constexpr const char* kDefaultIndexDir = "/usr/share/astrometry";
constexpr auto kPoll = std::chrono::milliseconds(20);

// A fresh private directory that is removed with everything in it.
class TempDir {
public:
    explicit TempDir(const std::string& root) {
        std::error_code ec;
        const fs::path parent = root.empty() ? fs::temp_directory_path(ec) : fs::path(root);
        std::string pattern = (parent / "velkarn-identify-XXXXXX").string();
        if (ec) pattern = "/tmp/velkarn-identify-XXXXXX";
        if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    }
    ~TempDir() {
        std::error_code ec;
        if (!path_.empty()) fs::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

std::vector<std::string> IndexDirs(const SolverSetup& setup) {
    if (!setup.index_dirs.empty()) return setup.index_dirs;
    std::vector<std::string> dirs;
    std::ifstream in(kConfig);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string key, dir;
        if (words >> key >> dir && key == "add_path") dirs.push_back(dir);
    }
    if (dirs.empty()) dirs.push_back(kDefaultIndexDir);
    return dirs;
}

// The solver reads its arguments with a decimal point, whatever the
// desktop's locale.
std::string FormatNumber(double v) {
    CNumericLocale c_numbers;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.6f", v);
    return buf;
}

// What is left of the solver's process group once solve-field itself is
// reaped (it starts the search engine as its own child) is ended, and
// waited for briefly, so that nothing of it still writes while its
// directory is removed.
void KillGroup(pid_t pid) {
    if (::kill(-pid, SIGKILL) != 0) return;
    for (int i = 0; i < 100 && ::kill(-pid, 0) == 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

}  // namespace

std::string FindSolver(const SolverSetup& setup) {
    auto runnable = [](const fs::path& p) { return ::access(p.c_str(), X_OK) == 0 && fs::is_regular_file(p); };
    if (!setup.program.empty()) return runnable(setup.program) ? setup.program : std::string();
    const char* path = std::getenv("PATH");
    std::istringstream dirs(path ? path : "/usr/bin:/bin");
    std::string dir;
    while (std::getline(dirs, dir, ':')) {
        if (dir.empty()) continue;
        const fs::path candidate = fs::path(dir) / "solve-field";
        if (runnable(candidate)) return candidate.string();
    }
    return {};
}

bool SolverIndexPresent(const SolverSetup& setup) {
    for (const std::string& dir : IndexDirs(setup)) {
        std::error_code ec;
        for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string name = it->path().filename().string();
            if (name.starts_with("index-") && name.ends_with(".fits")) return true;
        }
    }
    return false;
}

SolveResult SolvePlate(const SolveRequest& request, const SolverSetup& setup, ProgressService& progress,
                       int percent_from, int percent_to) {
    SolveResult result;
    const std::string program = FindSolver(setup);
    if (program.empty()) {
        result.outcome = SolveOutcome::NoSolver;
        return result;
    }
    if (!SolverIndexPresent(setup)) {
        result.outcome = SolveOutcome::NoIndex;
        return result;
    }
    TempDir dir(setup.temp_root);
    if (dir.path().empty()) return result;
    const std::string xy = (dir.path() / "stars.xyls").string();
    const std::string wcs = (dir.path() / "stars.wcs").string();
    const std::string log = (dir.path() / "solver.log").string();
    if (!WriteXyList(xy, request.stars, request.width, request.height)) return result;

    const int cpu_limit = std::max(1, static_cast<int>(std::ceil(request.time_limit_s)));
    std::vector<std::string> args = {program, xy,
        "--width", std::to_string(request.width), "--height", std::to_string(request.height),
        "--x-column", "X", "--y-column", "Y", "--sort-column", "FLUX",
        "--no-plots", "--overwrite", "--no-remove-lines", "--uniformize", "0",
        "--cpulimit", std::to_string(cpu_limit),
        "--scale-units", "degwidth", "--scale-low", FormatNumber(request.width_low_deg),
        "--scale-high", FormatNumber(request.width_high_deg),
        "--dir", dir.path().string(), "--temp-dir", dir.path().string(),
        "--wcs", wcs, "--new-fits", "none", "--index-xyls", "none", "--rdls", "none", "--corr", "none",
        "--match", "none", "--solved", "none", "--axy", (dir.path() / "stars.axy").string(),
        "--crpix-center"};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF);
    posix_spawnattr_setpgroup(&attributes, 0);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGINT);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (spawned != 0) return result;

    const auto start = std::chrono::steady_clock::now();
    const auto limit = std::chrono::duration<double>(request.time_limit_s);
    int wait_status = 0;
    int shown = -1;
    for (;;) {
        const pid_t done = ::waitpid(pid, &wait_status, WNOHANG);
        if (done == pid || (done < 0 && errno != EINTR)) break;
        const auto spent = std::chrono::steady_clock::now() - start;
        if (progress.EscapePressed()) {
            ::kill(-pid, SIGKILL);
            ::waitpid(pid, &wait_status, 0);
            KillGroup(pid);
            result.outcome = SolveOutcome::Cancelled;
            return result;
        }
        if (spent >= limit) {
            ::kill(-pid, SIGKILL);
            ::waitpid(pid, &wait_status, 0);
            KillGroup(pid);
            return result;
        }
        const double share = std::chrono::duration<double>(spent).count() / request.time_limit_s;
        const int percent = percent_from + static_cast<int>((percent_to - percent_from) * share);
        if (percent != shown) progress.Report(shown = percent);
        std::this_thread::sleep_for(kPoll);
    }
    KillGroup(pid);  // anything the solver left running
    if (!WIFEXITED(wait_status) || WEXITSTATUS(wait_status) != 0) return result;
    result.wcs = ReadTanWcs(wcs, 1);
    if (result.wcs) result.outcome = SolveOutcome::Solved;
    return result;
}
