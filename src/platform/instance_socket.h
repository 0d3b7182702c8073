#pragma once
// Where the running copy of the desktop program listens, and the request a
// later start sends it. Plain POSIX, so that the small `velkarn` launcher can
// hand over to a running copy without loading Qt or FFmpeg, which costs a
// later start most of its time.
#include <functional>
#include <string>

// The user the socket is named after: $USER, else the numeric user id.
std::string InstanceUser(const std::function<const char*(const char*)>& env, unsigned uid);

// The runtime directory: $XDG_RUNTIME_DIR when it is an absolute path, else
// "runtime-<user>" in $TMPDIR (or /tmp), the directory Qt would choose too.
std::string InstanceRuntimeDir(const std::function<const char*(const char*)>& env, const std::string& user);

// "<runtime dir>/TVelkarnWindow-<user>".
std::string InstanceSocketPath(const std::function<const char*(const char*)>& env, unsigned uid);

// True when the directory is the user's own and closed to everyone else, so
// that no other user can have put a socket there to answer in our name.
bool IsPrivateDir(const std::string& dir);

// Creates the directory with mode 0700 when it is missing; an own directory
// that others may enter is closed to them. False when it is not usable.
bool PreparePrivateDir(const std::string& dir);

// Connects to a running copy, asks it to raise its active window and waits
// up to timeout_ms for its answer. True when a copy took the connection (the
// caller then ends; a copy too busy to answer has still been reached and a
// second window must not open); false when none listens.
bool HandOverToRunningCopy(const std::string& socket_path, int timeout_ms);

// The request line and its answer.
inline constexpr char kRaiseRequest[] = "raise\n";
inline constexpr char kRaiseAnswer[] = "ok\n";
