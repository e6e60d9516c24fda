// A private X server for window tests: Xvfb started on a free display
// number (it reports when it is ready), stopped by pid when the test is done
// or dies. A server that has to be killed cannot remove its socket file;
// Stop does that for it.
#pragma once
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <unistd.h>

#include "tests/support/ChildProcess.h"
#include "tests/support/DisplayFiles.h"
#include "tests/support/TimeLimits.h"

namespace testsupport {

class XvfbServer {
public:
    static bool Installed() { return access("/usr/bin/Xvfb", X_OK) == 0; }

    // Starts the server with one screen of the given size on a number this
    // program claims first (DisplayFiles.h): test programs running side by
    // side never share a number, not even with a server that is still
    // shutting down. False when no server came up.
    bool Start(const char* screen = "1280x1024x24") {
        const int first = kFirstNumber + int(getpid() % kNumbers);
        for (int tried = 0; tried < kTries && number_ < 0; ++tried) {
            const int n = kFirstNumber + (first - kFirstNumber + tried) % kNumbers;
            if (!ClaimDisplayNumber(n)) continue;
            if (StartOn(n, screen)) {
                number_ = n;
            } else {
                Stop(n);
            }
        }
        display_ = number_ >= 0 ? ":" + std::to_string(number_) : "";
        return number_ >= 0;
    }

    // Ends the server (SIGTERM; SIGKILL if it does not go), removes the
    // socket file a killed server leaves, and gives the number back.
    void Stop() {
        if (number_ >= 0) Stop(number_);
        number_ = -1;
    }

    ~XvfbServer() { Stop(); }
    const std::string& Display() const { return display_; }
    pid_t Pid() const { return pid_; }

private:
    // Numbers below those of a desktop's servers and of the stand-in
    // displays some tests make (600 and up).
    static constexpr int kFirstNumber = 100, kNumbers = 500, kTries = 50;

    // Xvfb on display `n`; true once it says it is ready.
    bool StartOn(int n, const char* screen) {
        int fds[2];
        if (pipe(fds) != 0) return false;
        const pid_t parent = getpid();
        pid_ = fork();
        if (pid_ == 0) {
            EndWithParent(parent);
            close(fds[0]);
            const int devnull = open("/dev/null", O_WRONLY);
            dup2(devnull, 1);
            dup2(devnull, 2);
            const std::string display = ":" + std::to_string(n), fd = std::to_string(fds[1]);
            // -noreset: the server stays as it is when its last client leaves,
            // instead of resetting while the next one (the program's next run,
            // a window manager just starting) connects.
            execl("/usr/bin/Xvfb", "Xvfb", display.c_str(), "-displayfd", fd.c_str(), "-screen", "0", screen,
                  "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        const bool ready = pid_ > 0 && ReadDisplayNumber(fds[0]) == n;
        close(fds[0]);
        return ready;
    }

    void Stop(int n) {
        if (pid_ > 0) EndChild(pid_, SIGTERM, std::chrono::seconds(10));
        pid_ = -1;
        if (SocketFileIsDead(DisplaySocket(n))) unlink(DisplaySocket(n).c_str());
        ReleaseDisplayNumber(n);
    }

    // The number Xvfb writes once it is ready; -1 if it ends first or hangs.
    static int ReadDisplayNumber(int fd) {
        std::string number;
        const auto end = std::chrono::steady_clock::now() + ScaledToLoad(std::chrono::seconds(60));
        for (pollfd p{fd, POLLIN, 0};;) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
            char c;
            if (left.count() <= 0 || poll(&p, 1, int(left.count())) <= 0 || read(fd, &c, 1) != 1) return -1;
            if (c == '\n') return number.empty() ? -1 : std::atoi(number.c_str());
            number += c;
        }
    }

    pid_t pid_ = -1;
    int number_ = -1;
    std::string display_;
};

}  // namespace testsupport
