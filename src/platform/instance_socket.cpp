#include "platform/instance_socket.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

std::string InstanceUser(const std::function<const char*(const char*)>& env, unsigned uid) {
    const char* user = env("USER");
    if (user && user[0]) return user;
    return std::to_string(uid);
}

std::string InstanceRuntimeDir(const std::function<const char*(const char*)>& env, const std::string& user) {
    const char* runtime = env("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/') return runtime;
    const char* tmp = env("TMPDIR");
    std::string base = tmp && tmp[0] == '/' ? tmp : "/tmp";
    while (base.size() > 1 && base.back() == '/') base.pop_back();
    return base + "/runtime-" + user;
}

std::string InstanceSocketPath(const std::function<const char*(const char*)>& env, unsigned uid) {
    const std::string user = InstanceUser(env, uid);
    return InstanceRuntimeDir(env, user) + "/TVelkarnWindow-" + user;
}

bool IsPrivateDir(const std::string& dir) {
    struct stat st {};
    if (::lstat(dir.c_str(), &st) != 0) return false;
    return S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 077) == 0;
}

bool PreparePrivateDir(const std::string& dir) {
    if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) return false;
    struct stat st {};
    if (::lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid()) return false;
    if ((st.st_mode & 077) != 0 && ::chmod(dir.c_str(), 0700) != 0) return false;
    return true;
}

namespace {

int RemainingMs(std::chrono::steady_clock::time_point end) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// Waits for the events on fd until the deadline; false on timeout or error.
bool WaitFor(int fd, short events, std::chrono::steady_clock::time_point end) {
    for (;;) {
        pollfd p{fd, events, 0};
        const int n = ::poll(&p, 1, RemainingMs(end));
        if (n > 0) return (p.revents & events) != 0;
        if (n == 0 || errno != EINTR) return false;
    }
}

bool Connect(int fd, const std::string& path, std::chrono::steady_clock::time_point end) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0) return true;
    // A listener with a full backlog takes the connection later.
    if (errno != EAGAIN && errno != EINPROGRESS) return false;
    if (!WaitFor(fd, POLLOUT, end)) return false;
    int error = 0;
    socklen_t len = sizeof error;
    return ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &len) == 0 && error == 0;
}

}  // namespace

bool HandOverToRunningCopy(const std::string& socket_path, int timeout_ms) {
    if (socket_path.empty() || socket_path.size() >= sizeof(sockaddr_un::sun_path)) return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return false;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    const bool connected = Connect(fd, socket_path, end);
    if (connected) {
        const std::size_t len = sizeof kRaiseRequest - 1;
        if (WaitFor(fd, POLLOUT, end) && ::send(fd, kRaiseRequest, len, MSG_NOSIGNAL) == static_cast<ssize_t>(len)) {
            char answer[8];
            if (WaitFor(fd, POLLIN, end)) (void)!::recv(fd, answer, sizeof answer, 0);
        }
    }
    ::close(fd);
    return connected;
}
