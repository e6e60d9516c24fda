// The files in /tmp by which a local X display :n is found and held: its
// socket /tmp/.X11-unix/X<n> and its lock /tmp/.X<n>-lock (the owner's pid,
// as ten characters and a newline). A server removes both when it ends; one
// killed with SIGKILL cannot, and neither can a test program that stands in
// for a display and is killed. Such orphans are removed here: a socket file
// nobody listens on, a lock whose owner is gone. (Xvfb given -displayfd
// keeps no lock of its own: XvfbServer claims its number here for it.)
#pragma once
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <set>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace testsupport {

inline std::string DisplaySocket(int n) { return "/tmp/.X11-unix/X" + std::to_string(n); }
inline std::string DisplayLock(int n) { return "/tmp/.X" + std::to_string(n) + "-lock"; }

// The pid a lock file names; 0 when there is no lock or it names none.
inline pid_t LockOwner(const std::string& lock) {
    char text[16] = {};
    const int fd = open(lock.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    const ssize_t n = read(fd, text, sizeof text - 1);
    close(fd);
    return n > 0 ? pid_t(std::atol(text)) : 0;
}

inline bool ProcessIsGone(pid_t pid) { return pid > 0 && kill(pid, 0) != 0 && errno == ESRCH; }

// A socket file that exists and refuses connections: its listener is gone.
inline bool SocketFileIsDead(const std::string& path) {
    struct stat s {};
    if (lstat(path.c_str(), &s) != 0 || !S_ISSOCK(s.st_mode)) return false;
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    const bool refused = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 &&
                         errno == ECONNREFUSED;
    close(fd);
    return refused;
}

inline bool LockIsOrphaned(int n) { return ProcessIsGone(LockOwner(DisplayLock(n))); }

// A socket file nobody listens on, with no lock or an orphaned one (a live
// stand-in display may hold a dead socket file on purpose, under its lock).
inline bool SocketIsOrphaned(int n) {
    const bool unlocked = access(DisplayLock(n).c_str(), F_OK) != 0 || LockIsOrphaned(n);
    return unlocked && SocketFileIsDead(DisplaySocket(n));
}

// Removes display n's orphaned socket file and lock; true if it removed
// either. The socket goes first: a live server never has a socket without
// its lock. (A server taking the number at this very moment could lose its
// socket file; tests only call this for numbers their own servers left.)
inline bool RemoveOrphanedDisplayFiles(int n) {
    bool removed = false;
    if (SocketIsOrphaned(n)) removed |= unlink(DisplaySocket(n).c_str()) == 0;
    if (LockIsOrphaned(n)) removed |= unlink(DisplayLock(n).c_str()) == 0;
    return removed;
}

// The display numbers that have a socket file or a lock in /tmp.
inline std::set<int> DisplayNumbersInUse() {
    std::set<int> numbers;
    std::error_code error;
    using Entries = std::filesystem::directory_iterator;
    for (Entries it("/tmp/.X11-unix", error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename();
        if (name.size() > 1 && name[0] == 'X' && name.find_first_not_of("0123456789", 1) == std::string::npos)
            numbers.insert(std::atoi(name.c_str() + 1));
    }
    for (Entries it("/tmp", error), end; !error && it != end; it.increment(error)) {
        int n = -1;
        char rest[8] = {};
        if (std::sscanf(it->path().filename().c_str(), ".X%d%7s", &n, rest) == 2 && std::strcmp(rest, "-lock") == 0)
            numbers.insert(n);
    }
    return numbers;
}

// Takes display number n for a display this test program stands in for, as
// an X server does: its lock, made only if there is none (an orphaned one is
// cleared first) and naming this process. False when the number is in use.
inline bool ClaimDisplayNumber(int n) {
    mkdir("/tmp/.X11-unix", 01777);
    RemoveOrphanedDisplayFiles(n);
    const int fd = open(DisplayLock(n).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0444);
    if (fd < 0) return false;
    char text[16];
    const int length = std::snprintf(text, sizeof text, "%10d\n", int(getpid()));
    const bool written = write(fd, text, size_t(length)) == length;
    close(fd);
    if (!written) unlink(DisplayLock(n).c_str());
    return written;
}

// Gives the number back, once the caller has removed any socket file it made.
inline void ReleaseDisplayNumber(int n) { unlink(DisplayLock(n).c_str()); }

}  // namespace testsupport
