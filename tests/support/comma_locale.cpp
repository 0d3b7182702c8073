#include "support/comma_locale.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>

// glibc's newlocale keeps the search path it built from LOCPATH when it
// returns the "C" locale (62 bytes, once per process); LeakSanitizer
// would report it in every program that runs under the built locale.
constexpr const char* kGlibcLocalePathLeak = "leak:__argz_add_sep\n";
extern "C" const char* __lsan_default_suppressions() { return kGlibcLocalePathLeak; }

namespace testing_support {
namespace {

constexpr const char* kName = "de_DE.UTF-8";

bool DecimalComma() {
    const std::lconv* c = std::localeconv();
    return c != nullptr && c->decimal_point != nullptr && c->decimal_point[0] == ',';
}

bool TrySet(const char* name) {
    if (std::setlocale(LC_ALL, name) == nullptr) return false;
    if (DecimalComma()) return true;
    std::setlocale(LC_ALL, "C");
    return false;
}

// Where the built locale is kept: once per machine, for every build.
std::filesystem::path LocaleDir() { return std::filesystem::temp_directory_path() / "velkarn-test-locales"; }

// Builds the locale into LocaleDir(), once.
bool BuildLocale() {
    const std::filesystem::path dir = LocaleDir();
    setenv("LOCPATH", dir.c_str(), 1);
    if (std::filesystem::exists(dir / kName)) return true;
    std::filesystem::create_directories(dir);
    // Built under a name of its own and renamed, so that test programs
    // running side by side never see a half-built locale.
    const std::filesystem::path part = dir / (std::string(kName) + "." + std::to_string(getpid()));
    const std::string command = "localedef -i de_DE -f UTF-8 '" + part.string() + "' >/dev/null 2>&1";
    // localedef reports warnings with status 1 while still writing the locale.
    std::system(command.c_str());
    std::error_code ec;
    std::filesystem::rename(part, dir / kName, ec);
    std::filesystem::remove_all(part, ec);
    return std::filesystem::exists(dir / kName);
}

// Switches the whole process (setlocale LC_ALL) to a comma-decimal locale.
// False when none can be had; the locale is then unchanged.
bool EnterCommaLocale() {
    const std::string before = std::setlocale(LC_ALL, nullptr);
    if (TrySet(kName) || TrySet("de_DE.utf8") || (BuildLocale() && TrySet(kName))) return true;
    std::setlocale(LC_ALL, before.c_str());
    return false;
}

// VELKARN_TEST_LOCALE=comma runs a whole test program under the comma
// locale (the second run of the file, settings, catalogue and CLI tests).
class CommaLocaleRun : public testing::Environment {
public:
    void SetUp() override {
        const char* wanted = std::getenv("VELKARN_TEST_LOCALE");
        if (wanted == nullptr || std::string(wanted) != "comma") return;
        ASSERT_TRUE(EnterCommaLocale()) << "no comma-decimal locale could be had or built";
        // The command-line program run by the tests inherits it, and the
        // suppression of glibc's newlocale leak (below) under LeakSanitizer.
        setenv("LC_ALL", kName, 1);
        std::filesystem::create_directories(LocaleDir());
        // Replaced by a rename: a program of another test run side by side
        // may be reading it at this moment.
        const std::filesystem::path supp = LocaleDir() / "lsan.supp";
        const std::filesystem::path part = LocaleDir() / ("lsan.supp." + std::to_string(getpid()));
        std::ofstream(part) << kGlibcLocalePathLeak;
        std::error_code ec;
        std::filesystem::rename(part, supp, ec);
        setenv("LSAN_OPTIONS", ("print_suppressions=0:suppressions=" + supp.string()).c_str(), 1);
    }
};

[[maybe_unused]] testing::Environment* const registered = testing::AddGlobalTestEnvironment(new CommaLocaleRun);

}  // namespace

CommaLocale::CommaLocale() : previous_(std::setlocale(LC_ALL, nullptr)) { active_ = EnterCommaLocale(); }

CommaLocale::~CommaLocale() { std::setlocale(LC_ALL, previous_.c_str()); }

}  // namespace testing_support
