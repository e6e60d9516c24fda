// A private X server for window tests: Xvfb started on a free display
// number (it reports the number itself once it is ready), stopped by pid
// when the test is done or dies.
#pragma once
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

class XvfbServer {
public:
    static bool Installed() { return access("/usr/bin/Xvfb", X_OK) == 0; }

    // Starts the server with one screen of the given size; false when it did
    // not come up within 15 s (a loaded machine can take a while).
    bool Start(const char* screen = "1280x1024x24") {
        int fds[2];
        if (pipe(fds) != 0) return false;
        pid_ = fork();
        if (pid_ == 0) {
            prctl(PR_SET_PDEATHSIG, SIGTERM);   // never outlive a test that dies
            close(fds[0]);
            const int devnull = open("/dev/null", O_WRONLY);
            dup2(devnull, 1);
            dup2(devnull, 2);
            const std::string fd = std::to_string(fds[1]);
            execl("/usr/bin/Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen,
                  "-nolisten", "tcp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        if (pid_ < 0) {
            close(fds[0]);
            return false;
        }
        display_ = ReadDisplay(fds[0]);
        close(fds[0]);
        return !display_.empty();
    }

    void Stop() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

    ~XvfbServer() { Stop(); }
    const std::string& Display() const { return display_; }

private:
    static std::string ReadDisplay(int fd) {
        std::string number;
        pollfd p{fd, POLLIN, 0};
        while (poll(&p, 1, 15000) > 0) {
            char c;
            if (read(fd, &c, 1) != 1) break;
            if (c == '\n') return ":" + number;
            number += c;
        }
        return "";
    }

    pid_t pid_ = -1;
    std::string display_;
};

}  // namespace testsupport
