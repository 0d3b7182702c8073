#pragma once
// Subcommands of velkarn-cli. Each subcommand lives in its own file and
// registers itself with a static CommandRegistration:
//
//   static CommandRegistration reg{"reduce", "reduce SESSION [--order N] ...", run_reduce};
//
// A command gets the arguments after its name and returns the exit status;
// it reports failures as one line on standard error.

#include <functional>
#include <string>
#include <vector>

using CommandFn = std::function<int(const std::vector<std::string>& args)>;

struct Command {
    std::string name;
    std::string usage;  // one line, shown by "velkarn-cli help"
    CommandFn run;
};

std::vector<Command>& Commands();

struct CommandRegistration {
    CommandRegistration(std::string name, std::string usage, CommandFn run) {
        Commands().push_back({std::move(name), std::move(usage), std::move(run)});
    }
};

// The directory of the running executable.
std::string ExecutableDir();

// Where this run finds the shipped data and writes its files, by the same
// rules as the desktop program (shell/program_paths.h).
struct ProgramPaths;
ProgramPaths CliProgramPaths();
