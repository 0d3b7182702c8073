// A writer killed (SIGKILL) at any instant leaves every file it was
// replacing old or new byte for byte, and the log every line it held with a
// new line whole or absent. Each test forks a writer that repeats its write,
// kills it after a random delay of up to about two writes, and checks the
// files; 1 000 kill points per kind of file (100 under the sanitizers). The files lie in memory
// (/dev/shm) where there is one, so that the writes, not the disk, set the
// pace.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <random>
#include <set>

#include "files/settings_file.h"
#include "files/station_list.h"
#include "session_file_support.h"

using namespace testing_support;
using Clock = std::chrono::steady_clock;

namespace {

// A sanitizer's fork copies its huge address space: fewer kill points there.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kKillPoints = 100;
#else
constexpr int kKillPoints = 1000;
#endif

// The scratch directory lies in memory when the machine has it.
ScratchDir MemoryDir() {
    return ScratchDir(std::filesystem::exists("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path());
}

// Forks a child that says when it starts and then runs body; the parent
// gets the child's id once the child has started.
pid_t StartChild(const std::function<void()>& body) {
    int ready[2];
    if (pipe(ready) != 0) return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        close(ready[0]);
        const char go = 1;
        if (::write(ready[1], &go, 1) != 1) _exit(1);
        body();
        _exit(0);
    }
    close(ready[1]);
    char go = 0;
    const bool started = read(ready[0], &go, 1) == 1;
    close(ready[0]);
    return started ? pid : -1;
}

// Runs write(i) for i = first, first + 1, ... in a child killed after a
// random delay; check() then looks at the files. The delays spread over
// twice the time a fresh child takes for one write (a sanitizer's child
// starts much slower than its parent writes), counted from its start.
void KillRepeatedly(const std::function<void(int)>& write, const std::function<void()>& check, int& first) {
    Clock::duration one{};
    for (int i = 0; i < 5; ++i) {
        const auto t0 = Clock::now();
        const pid_t pid = StartChild([&] { write(first); });
        ASSERT_GT(pid, 0);
        waitpid(pid, nullptr, 0);
        one = std::max(one, Clock::now() - t0);
        ++first;
    }
    std::mt19937 random(7);
    std::uniform_int_distribution<long> delay(0, 2 * std::chrono::duration_cast<std::chrono::nanoseconds>(one).count());
    for (int k = 0; k < kKillPoints; ++k) {
        const pid_t pid = StartChild([&] {
            for (int i = first;; ++i) write(i);
        });
        ASSERT_GT(pid, 0);
        const auto until = Clock::now() + std::chrono::nanoseconds(delay(random));
        while (Clock::now() < until) {
        }
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer ended by itself at kill point " << k;
        // The child may have written any number of times; the next one
        // starts further on so that the versions keep changing.
        first += 1000;
        check();
        if (testing::Test::HasFatalFailure() || testing::Test::HasNonfatalFailure()) {
            ADD_FAILURE() << "at kill point " << k;
            return;
        }
    }
}

// Temporary files a killed writer left beside the target show that some
// kills fell inside writes, not only between them (a sanitised build is too
// slow at start for this to be certain).
void ExpectKillsInsideWrites([[maybe_unused]] const std::filesystem::path& dir, [[maybe_unused]] const std::string& prefix) {
#if !defined(__SANITIZE_ADDRESS__)
    int n = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir)) n += e.path().filename().string().starts_with(prefix);
    EXPECT_GT(n, 0) << prefix;
#endif
}

// Lines of text; false when the text does not end with a line end.
bool WholeLines(const std::string& text, std::vector<std::string>& lines) {
    lines.clear();
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start + 1));
    return start == text.size();
}

}  // namespace

TEST(KillDuringSave, TheSessionFileIsOldOrNewAndTheLogLosesNoLineNorGetsAPartOne) {
    const ScratchDir dir = MemoryDir();
    const std::string file = (dir.path() / "m01.dar").string();
    // Two versions of the session, saved in turn; their log lines differ.
    auto write = [&](int i) {
        SessionData s;
        FillExampleSession(s);
        if (i % 2) {
            s.meteors[1].x[0] += 0.5f;
            copy_text(SessionData::dlgdat.meteor, "m02");
        }
        SaveIn(s, dir, "m01.dar");
    };
    std::set<std::string> texts, records;
    copy_text(opt.station, "Darnholm");
    for (int i = 0; i < 2; ++i) {
        write(i);
        texts.insert(ReadText(file));
    }
    const std::string log_start = ReadText(dir.path() / "photo99.log");
    std::vector<std::string> lines;
    ASSERT_TRUE(WholeLines(log_start, lines));
    records.insert(lines.begin() + 1, lines.end());
    ASSERT_EQ(records.size(), 2u);  // both versions saved and logged
    int first = 2;
    auto check = [&] {
        EXPECT_EQ(texts.count(ReadText(file)), 1u) << ReadText(file);
        const std::string log = ReadText(dir.path() / "photo99.log");
        ASSERT_EQ(log.compare(0, log_start.size(), log_start), 0) << "a line of the log was lost";
        std::vector<std::string> added;
        ASSERT_TRUE(WholeLines(log.substr(log_start.size()), added)) << "a part of a line was appended";
        for (const std::string& line : added) ASSERT_EQ(records.count(line), 1u) << line;
        // Back to the log as it began, so that it does not grow with every
        // kill point.
        WriteText(dir.path() / "photo99.log", log_start);
    };
    KillRepeatedly(write, check, first);
    ExpectKillsInsideWrites(dir.path(), "m01.dar.velkarn-");
}

TEST(KillDuringSave, TheStationListIsOldOrNewWithEveryStationAddedBefore) {
    const ScratchDir dir = MemoryDir();
    const std::filesystem::path list = dir.path() / "station.dat";
    auto station = [](int i) {
        StationData s;
        copy_text(s.name, "S" + std::to_string(i));
        copy_text(s.height, std::to_string(i % 9000));
        return s;
    };
    auto list_of = [&](const std::vector<int>& newest_first) {
        std::string text = std::string(kStationHeading) + "\n";
        for (int n : newest_first) text += StationRecord(station(n));
        return text;
    };
    // Every kill point starts from a list of station 0, which the warm-up
    // writes extend by stations 1 to 5.
    WriteText(list, list_of({0}));
    int first = 1;
    bool killed_inside = false;  // the temporary file is reused: looked for after every kill
    auto check = [&] {
        killed_inside = killed_inside || std::filesystem::exists(dir.path() / kStationTempName);
        const std::string text = ReadText(list);
        std::vector<std::string> lines;
        ASSERT_TRUE(WholeLines(text, lines));
        // Newest first: the stations added one after the other, then station 0.
        std::vector<int> names;
        for (std::size_t l = 2; l < lines.size(); ++l) names.push_back(std::stoi(lines[l].substr(3)));
        ASSERT_FALSE(names.empty());
        ASSERT_EQ(names.back(), 0) << "the station added before was lost";
        for (std::size_t k = 0; k + 2 < names.size(); ++k) ASSERT_EQ(names[k], names[k + 1] + 1) << "station lost";
        EXPECT_EQ(text, list_of(names));  // byte for byte
        WriteText(list, list_of({0}));
    };
    KillRepeatedly([&](int i) { AddStation(list, station(i)); }, check, first);
    EXPECT_TRUE(killed_inside);
}

TEST(KillDuringSave, TheSettingsFileIsOldOrNew) {
    const ScratchDir dir = MemoryDir();
    SettingsEnvironment env{dir.path(), "/home/Observer", 1920, 1080};
    auto write = [&](int i) {
        Options o{"/data/station.dat", "", "/home/Observer/*.bmp", "/home/Observer", "Darnholm", 2 + i % 4, i % 10,
                  0.5f, 8.0f, 1};
        copy_text(o.skycatdir, "/data/" + std::to_string(i % 10));
        WriteIniValues(env, o, StartSettings{}, WindowPlacement{i % 7, 0, 800, 600}, false);
    };
    std::set<std::string> texts;
    for (int i = 0; i < 140; ++i) {  // every version write(i) makes
        write(i);
        texts.insert(ReadText(SettingsPath(env)));
    }
    int first = 0;
    KillRepeatedly(write, [&] { EXPECT_EQ(texts.count(ReadText(SettingsPath(env))), 1u); }, first);
    ExpectKillsInsideWrites(dir.path(), "velkarn.ini.velkarn-");
}
