#include "files/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <fstream>
#include <thread>

#include "session_file_support.h"

using namespace testing_support;

namespace {

// The process umask as the kernel reports it, read without changing it.
unsigned ProcessUmask() {
    std::ifstream in("/proc/self/status");
    std::string key;
    while (in >> key) {
        if (key == "Umask:") {
            std::string value;
            in >> value;
            return static_cast<unsigned>(std::stoul(value, nullptr, 8));
        }
    }
    return 0777;
}

unsigned Mode(const std::filesystem::path& p) {
    struct stat st {};
    stat(p.c_str(), &st);
    return st.st_mode & 07777;
}

bool Write(const std::filesystem::path& p, const char* text) {
    AtomicFile f(p);
    if (!f.ok()) return false;
    std::fputs(text, f.stream());
    return f.Commit();
}

}  // namespace

TEST(AtomicFile, ANewFileGetsTheDefaultModeAReplacedOneKeepsItsOwnAndTheUmaskNeverChanges) {
    ScratchDir dir;
    const mode_t old_mask = umask(027);
    ASSERT_TRUE(Write(dir.path() / "new", "a"));
    EXPECT_EQ(Mode(dir.path() / "new"), 0640u);
    chmod((dir.path() / "new").c_str(), 0604);
    ASSERT_TRUE(Write(dir.path() / "new", "b"));
    EXPECT_EQ(std::pair(Mode(dir.path() / "new"), ReadText(dir.path() / "new")), std::pair(0604u, std::string("b")));

    umask(022);
    std::atomic<bool> done{false};
    std::atomic<int> changed{0};
    std::thread watcher([&] {
        while (!done) changed += ProcessUmask() != 022;
    });
    // New files, each created with the default mode.
    for (int i = 0; i < 400 && changed == 0; ++i) {
        ASSERT_TRUE(Write(dir.path() / "f", "x"));
        std::filesystem::remove(dir.path() / "f");
    }
    done = true;
    watcher.join();
    EXPECT_EQ(changed, 0);
    umask(old_mask);
}

TEST(AtomicFile, ATemporaryFileAKilledWriterLeftGoesAtTheNextWriteAndAFailedWriteLeavesTheOldFileAlone) {
    namespace fs = std::filesystem;
    ScratchDir dir;
    const fs::path target = dir.path() / "m01.dar";
    const char* kept[] = {"m01.dar.velkarn-fresh1", "m01.dar.backup", "m01.dar.velkarn-toolong", "m02.dar.velkarn-abcdef"};
    for (const char* name : kept) WriteText(dir.path() / name, "x");
    WriteText(dir.path() / "m01.dar.velkarn-Dead01", "half a sess");
    const auto old = fs::file_time_type::clock::now() - std::chrono::minutes(5);
    for (const char* name : {"m01.dar.backup", "m01.dar.velkarn-toolong", "m02.dar.velkarn-abcdef", "m01.dar.velkarn-Dead01"})
        fs::last_write_time(dir.path() / name, old);

    ASSERT_TRUE(Write(target, "new"));
    EXPECT_FALSE(fs::exists(dir.path() / "m01.dar.velkarn-Dead01"));
    // One being written now, files of other names and other targets stay.
    for (const char* name : kept) EXPECT_TRUE(fs::exists(dir.path() / name)) << name;
    EXPECT_EQ(ReadText(target), "new");

    // A write given up leaves the old file and no temporary file.
    {
        AtomicFile f(target);
        ASSERT_TRUE(f.ok());
        std::fputs("newer", f.stream());
        f.Discard();
    }
    EXPECT_EQ(ReadText(target), "new");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 5);  // the target and the four kept
    EXPECT_FALSE(Write(dir.path() / "missing" / "f", "x"));
}
