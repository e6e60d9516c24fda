// The real program in a pseudo-terminal on a test's X server: one run of
// kyr started from a shell that records the terminal settings before and
// after it, its status and its standard error; typing into its terminal,
// finding its window and asking the window to close. Shared by the tests
// that drive the real program.
#pragma once
#include <X11/Xlib.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <poll.h>
#include <pty.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

#include "tests/support/TempFiles.h"
#include "tests/support/TimeLimits.h"

namespace testsupport {

using namespace std::chrono_literals;

inline bool Installed(const char* tool) {
    return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

// The first of the tools that is not installed; empty when all are.
inline std::string Missing(std::initializer_list<const char*> tools) {
    for (const char* tool : tools) {
        if (!Installed(tool)) return tool;
    }
    return "";
}

#define SKIP_WITHOUT(...)                                                                    \
    if (const std::string missing = testsupport::Missing({__VA_ARGS__}); !missing.empty()) { \
        GTEST_SKIP() << missing << " is not installed";                                    \
    }

// Standard output of a shell command; empty when it fails.
inline std::string Output(const std::string& command) {
    std::string text;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return text;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe)) text += buffer;
    return pclose(pipe) == 0 ? text : std::string();
}

// Polls `done` until it holds. `limit` is a ceiling for a program that is
// stuck, as an idle machine would need it: it is scaled to the machine's
// load (TimeLimits.h), so that a slow machine ends the wait by the event.
inline bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit,
               std::chrono::milliseconds step = 200ms) {
    for (auto end = std::chrono::steady_clock::now() + ScaledToLoad(limit);; std::this_thread::sleep_for(step)) {
        if (done()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
    }
}

// One run of kyr in a pseudo-terminal, started from a shell that records the
// terminal settings before and after it, its status and its standard error.
class KyrRun {
public:
    struct Result {
        bool ended = false;
        std::string status;  // as the shell saw it: 128 + n after signal n
        std::string before, after;
        std::string err, out;
    };

    explicit KyrRun(std::string display) : display_(std::move(display)) {}
    KyrRun(const KyrRun&) = delete;
    KyrRun& operator=(const KyrRun&) = delete;

    ~KyrRun() {
        if (child_ > 0) {
            kill(-child_, SIGKILL);  // the shell and kyr: the process group of the shell
            waitpid(child_, nullptr, 0);
        }
        if (master_ >= 0) close(master_);
    }

    // `arguments` follow the program's name as the shell splits them.
    bool Start(const std::string& arguments = "") {
        folder_ = testsupport::FreshFolder("kyr-run-");
        if (folder_.empty()) return false;
        child_ = forkpty(&master_, nullptr, nullptr, nullptr);
        if (child_ < 0) return false;
        if (child_ == 0) {
            // No core files from a test; a death by signal still shows as 128 + n.
            // The run's folder is its settings folder: a player's own
            // settings file never changes what a test sees.
            const std::string script =
                "ulimit -c 0; cd '" + folder_ + "' && stty -g > before.txt && XDG_CONFIG_HOME='" + folder_ +
                "' DISPLAY=" + display_ +
                " LSAN_OPTIONS=suppressions=" KYR_LSAN_SUPPRESSIONS ":print_suppressions=0 '" KYR_PATH
                "' " + arguments + " 2> err.txt; echo $? > status.txt; stty -g > after.txt";
            execl("/bin/sh", "sh", "-c", script.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        return true;
    }

    // The program's window, once it exists (0 if the program ended first, or
    // is stuck without a window).
    unsigned long FindWindow(std::chrono::seconds limit = 60s) {
        unsigned long id = 0;
        WaitUntil([&] {
            id = std::strtoul(Output(X("xdotool search --name '^Graph$' 2>/dev/null")).c_str(), nullptr, 10);
            return id != 0 || Ended();
        }, limit, 20ms);
        window_ = id;
        return id;
    }

    // True once the window manager has taken the window on (its WM_STATE is set).
    bool WaitUntilManaged(std::chrono::seconds limit = 60s) {
        const std::string probe = X("xprop -id " + std::to_string(window_) + " WM_STATE 2>/dev/null");
        return WaitUntil([&] { return Output(probe).find("Normal") != std::string::npos; }, limit, 20ms);
    }

    bool Ended() {
        Drain();
        if (child_ <= 0) return true;
        int status = 0;
        if (waitpid(child_, &status, WNOHANG) != child_) return false;
        child_ = -1;
        return true;
    }

    // Waits for the end; a run still going at the limit (a ceiling for a
    // stuck run, scaled to the load) is killed and reported.
    Result Finish(std::chrono::seconds limit = 120s) {
        Result r;
        r.ended = WaitUntil([&] { return Ended(); }, limit, 50ms);
        Drain();
        r.out = out_;
        r.status = ReadFile(folder_ + "/status.txt");
        r.before = ReadFile(folder_ + "/before.txt");
        r.after = ReadFile(folder_ + "/after.txt");
        r.err = ReadFile(folder_ + "/err.txt");
        return r;
    }

    void Type(const std::string& bytes) {
        if (write(master_, bytes.data(), bytes.size()) != ssize_t(bytes.size())) ADD_FAILURE() << "typing failed";
    }

    // A command for this run's display.
    std::string X(const std::string& command) const { return "DISPLAY=" + display_ + " " + command; }
    const std::string& DisplayName() const { return display_; }
    const std::string& Folder() const { return folder_; }
    unsigned long Window() const { return window_; }

private:
    // Keeps reading the terminal so that the program never blocks on its output.
    void Drain() {
        char buffer[4096];
        pollfd p{master_, POLLIN, 0};
        while (master_ >= 0 && poll(&p, 1, 0) > 0) {
            const ssize_t n = read(master_, buffer, sizeof buffer);
            if (n <= 0) break;
            out_.append(buffer, std::size_t(n));
        }
    }

    std::string display_, folder_, out_;
    pid_t child_ = -1;
    int master_ = -1;
    unsigned long window_ = 0;
};

inline int IgnoreXErrors(Display*, XErrorEvent*) { return 0; }

// Asks the window to close: through the window manager (_NET_CLOSE_WINDOW)
// or with WM_DELETE_WINDOW sent straight to it, as a window manager sends it.
inline bool SendClientMessage(const std::string& display, unsigned long window, bool viaWindowManager) {
    XSetErrorHandler(IgnoreXErrors);  // a window already gone must not end the test
    Display* d = XOpenDisplay(display.c_str());
    if (!d) return false;
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = window;
    e.xclient.format = 32;
    Status sent;
    if (viaWindowManager) {
        e.xclient.message_type = XInternAtom(d, "_NET_CLOSE_WINDOW", False);
        e.xclient.data.l[0] = CurrentTime;
        e.xclient.data.l[1] = 2;  // from a pager or taskbar: the player's own action
        sent = XSendEvent(d, DefaultRootWindow(d), False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
    } else {
        e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
        e.xclient.data.l[0] = long(XInternAtom(d, "WM_DELETE_WINDOW", False));
        e.xclient.data.l[1] = CurrentTime;
        sent = XSendEvent(d, window, False, NoEventMask, &e);
    }
    XSync(d, False);
    XCloseDisplay(d);
    return sent != 0;
}

}  // namespace testsupport
