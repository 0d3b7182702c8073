#pragma once
// Runs velkarn-cli with the given arguments (quoted as the shell reads
// them), its standard error merged into its output.
#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace testing_support {

struct CliRun {
    int status;  // the exit status, -1 when it did not exit
    std::string out;
};

inline CliRun RunCli(const std::string& args) {
    const std::string command = std::string(VELKARN_CLI) + " " + args + " 2>&1";
    FILE* p = popen(command.c_str(), "r");
    if (p == nullptr) return {-1, ""};
    std::string out;
    char buf[256];
    while (std::fgets(buf, sizeof buf, p)) out += buf;
    const int rc = pclose(p);
    return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, out};
}

}  // namespace testing_support
