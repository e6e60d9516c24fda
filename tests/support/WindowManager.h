// A real window manager (openbox) on a test's private X server: it frames
// windows, sends the close request from its close button and carries out
// fullscreen requests, as a player's desktop does. Stopped by pid.
#pragma once
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "tests/support/ChildProcess.h"
#include "tests/support/TempFiles.h"
#include "tests/support/TimeLimits.h"

namespace testsupport {

class WindowManager {
public:
    static bool Installed() { return access("/usr/bin/openbox", X_OK) == 0; }

    // Starts openbox on `display`; true once it runs, with its key bindings
    // in place (a close typed as Alt+F4 right away is not lost). If it does
    // not get there, what it said goes to standard error.
    bool Start(const std::string& display) {
        const std::string folder = FreshFolder("openbox-");
        if (folder.empty()) return false;
        const std::string log = folder + "/openbox.log", ready = folder + "/ready";
        const pid_t parent = getpid();
        pid_ = fork();
        if (pid_ == 0) {
            EndWithParent(parent);
            const int output = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            dup2(output, 1);
            dup2(output, 2);
            setenv("DISPLAY", display.c_str(), 1);
            // Openbox runs the startup command once it has set everything up.
            const std::string whenReady = "touch " + ready;
            execl("/usr/bin/openbox", "openbox", "--sm-disable", "--startup", whenReady.c_str(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        if (pid_ < 0) return false;
        if (BecameReady(ready)) return true;
        std::fprintf(stderr, "openbox did not start on %s; it said: %s\n", display.c_str(), ReadFile(log).c_str());
        return false;
    }

    void Stop() {
        if (pid_ <= 0) return;
        EndChild(pid_, SIGTERM, std::chrono::seconds(10));
        pid_ = -1;
    }

    ~WindowManager() { Stop(); }

private:
    // Waits for the file openbox's startup command makes; false if openbox
    // ends first, or has not made it within a minute (scaled to the load).
    bool BecameReady(const std::string& ready) {
        const auto end = std::chrono::steady_clock::now() + ScaledToLoad(std::chrono::seconds(60));
        for (;; std::this_thread::sleep_for(std::chrono::milliseconds(20))) {
            if (access(ready.c_str(), F_OK) == 0) return true;
            if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
                pid_ = -1;
                return false;
            }
            if (std::chrono::steady_clock::now() >= end) return false;
        }
    }

    pid_t pid_ = -1;
};

}  // namespace testsupport
