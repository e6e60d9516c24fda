// Ending the programs a test starts: with the test program, however it
// ends, and when the test is done, with a ceiling on the wait.
#pragma once
#include <chrono>
#include <csignal>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "tests/support/TimeLimits.h"

namespace testsupport {

// Sends `signal` to the child and waits for its end; a child still there
// after `limit` (scaled to the machine's load) is killed. Reaps it either way.
inline void EndChild(pid_t pid, int signal, std::chrono::milliseconds limit) {
    kill(pid, signal);
    const auto end = std::chrono::steady_clock::now() + ScaledToLoad(limit);
    while (waitpid(pid, nullptr, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() >= end) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// In a child just forked: ends with the test program, even if that is killed.
inline void EndWithParent(pid_t parent) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) _exit(127);  // the parent died before the line above
}

}  // namespace testsupport
