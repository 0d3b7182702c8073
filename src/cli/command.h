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

// The directory of the running executable (the program directory).
std::string ExecutableDir();
