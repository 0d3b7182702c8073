#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/command.h"
#include "platform/c_locale.h"
#include "platform/diagnostics.h"
#include "shell/program_paths.h"

std::vector<Command>& Commands() {
    static std::vector<Command> commands;
    return commands;
}

std::string ExecutableDir() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return std::filesystem::current_path().string();
    return exe.parent_path().string();
}

ProgramPaths CliProgramPaths() {
    return ResolveProgramPaths(StandardLocations(ExecutableDir(), [](const char* name) { return std::getenv(name); }),
                               FileSystemProbes());
}

namespace {
void PrintUsage(std::FILE* out) {
    std::fprintf(out, "usage: velkarn-cli [--verbose] COMMAND [ARGS]\ncommands:\n");
    auto commands = Commands();
    std::sort(commands.begin(), commands.end(),
              [](const Command& a, const Command& b) { return a.name < b.name; });
    for (const auto& c : commands) std::fprintf(out, "  velkarn-cli %s\n", c.usage.c_str());
}
}  // namespace

int main(int argc, char** argv) {
    // The user's locale for the system's messages; every number the
    // commands print or read still carries a decimal point.
    std::setlocale(LC_ALL, "");
    CNumericLocale c_numbers;
    // --verbose, anywhere, writes the program's diagnostics (FFmpeg's
    // complaints about a file) to standard error; they are quiet otherwise.
    std::vector<char*> kept(argv, argv + argc);
    const auto verbose = std::find_if(kept.begin() + 1, kept.end(), [](const char* a) { return std::string(a) == "--verbose"; });
    if (verbose != kept.end()) {
        kept.erase(verbose);
        argc = static_cast<int>(kept.size());
        argv = kept.data();
        SetDiagnosticSink([](std::string_view source, std::string_view line) {
            std::fprintf(stderr, "velkarn-cli: %.*s: %.*s\n", static_cast<int>(source.size()), source.data(),
                         static_cast<int>(line.size()), line.data());
        });
    }
    if (argc < 2) {
        PrintUsage(stderr);
        return 2;
    }
    const std::string name = argv[1];
    if (name == "help" || name == "--help" || name == "-h") {
        PrintUsage(stdout);
        return 0;
    }
    for (const auto& c : Commands()) {
        if (c.name != name) continue;
        try {
            return c.run(std::vector<std::string>(argv + 2, argv + argc));
        } catch (const std::exception& e) {
            std::fprintf(stderr, "velkarn-cli %s: %s\n", name.c_str(), e.what());
            return 1;
        }
    }
    std::fprintf(stderr, "velkarn-cli: unknown command \"%s\" (try: velkarn-cli help)\n", name.c_str());
    return 2;
}
