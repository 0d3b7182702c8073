// velkarn, as the user starts it: hands over to the copy the user already
// runs, or starts the desktop program velkarn-window in its place. It loads
// neither Qt nor FFmpeg, so that a second start ends at once.
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/instance_socket.h"

namespace {

constexpr char kWindowProgram[] = "velkarn-window";

std::string OwnDir() {
    char buf[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return ".";
    const std::string self(buf, static_cast<std::size_t>(n));
    return self.substr(0, self.rfind('/'));
}

// Beside the launcher in a build tree or a portable folder; in libexec once
// installed (bin/../libexec), where its data directory is still ../share.
std::string FindWindowProgram(const std::string& dir) {
    for (const std::string& path : {dir + "/" + kWindowProgram, dir + "/../libexec/" + kWindowProgram}) {
        if (::access(path.c_str(), X_OK) == 0) return path;
    }
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    (void)argc;
    const std::string socket = InstanceSocketPath([](const char* name) { return std::getenv(name); }, ::getuid());
    const std::string runtime_dir = socket.substr(0, socket.rfind('/'));
    // A socket in a directory others can write to may not be ours: the
    // program itself then decides.
    if (IsPrivateDir(runtime_dir) && HandOverToRunningCopy(socket, 1000)) return 0;
    const std::string dir = OwnDir();
    const std::string program = FindWindowProgram(dir);
    if (program.empty()) {
        std::fprintf(stderr, "velkarn: %s is missing beside %s and in %s/../libexec\n", kWindowProgram, dir.c_str(),
                     dir.c_str());
        return 127;
    }
    argv[0] = const_cast<char*>(program.c_str());
    ::execv(program.c_str(), argv);
    std::fprintf(stderr, "velkarn: cannot start %s: %s\n", program.c_str(), std::strerror(errno));
    return 127;
}
