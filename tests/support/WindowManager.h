// A real window manager (openbox) on a test's private X server: it frames
// windows, sends the close request from its close button and carries out
// fullscreen requests, as a player's desktop does. Stopped by pid.
#pragma once
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace testsupport {

class WindowManager {
public:
    static bool Installed() { return access("/usr/bin/openbox", X_OK) == 0; }

    // Starts openbox on `display`; true once it has taken the screen (its
    // supporting-window property is set), within 15 s.
    bool Start(const std::string& display) {
        pid_ = fork();
        if (pid_ == 0) {
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            const int devnull = open("/dev/null", O_WRONLY);
            dup2(devnull, 1);
            dup2(devnull, 2);
            setenv("DISPLAY", display.c_str(), 1);
            execl("/usr/bin/openbox", "openbox", "--sm-disable", static_cast<char*>(nullptr));
            _exit(127);
        }
        if (pid_ < 0) return false;
        const std::string probe = "DISPLAY=" + display +
                                  " xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'";
        for (int i = 0; i < 150; ++i) {
            if (std::system(probe.c_str()) == 0) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return false;
    }

    void Stop() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

    ~WindowManager() { Stop(); }

private:
    pid_t pid_ = -1;
};

}  // namespace testsupport
