// The console key source on a real pseudo-terminal and on pipes: the
// terminal's settings come back on every way out, typed keys arrive as the
// right characters, and a pipe or an empty input is read safely.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <string>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <utmp.h>

namespace {

// Guards against a hung child; not a timing assertion.
constexpr auto kGuard = std::chrono::seconds(20);

// A child started with its signals at their defaults, whatever the test
// runner ignores.
void ResetSignals() {
    for (int sig : {SIGINT, SIGQUIT, SIGTERM, SIGHUP, SIGPIPE, SIGTSTP}) signal(sig, SIG_DFL);
}

[[noreturn]] void ExecProbe(const char* mode) {
    ResetSignals();
    execl(CONSOLE_PTY_PROBE, CONSOLE_PTY_PROBE, mode, static_cast<char*>(nullptr));
    _exit(127);
}

// Reads from fd until text contains want, the child ends or the guard ends.
bool ReadUntil(int fd, std::string& text, const std::string& want) {
    auto deadline = std::chrono::steady_clock::now() + kGuard;
    while (text.find(want) == std::string::npos) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0) continue;
        char buffer[256];
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0) return false;
        text.append(buffer, std::size_t(n));
    }
    return true;
}

// Waits for the child, collecting what else it writes.
int WaitForChild(pid_t pid, int fd, std::string& text) {
    auto deadline = std::chrono::steady_clock::now() + kGuard;
    int status = 0;
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 50) > 0) {
            char buffer[256];
            ssize_t n = read(fd, buffer, sizeof buffer);
            if (n > 0) text.append(buffer, std::size_t(n));
        }
        if (waitpid(pid, &status, WNOHANG) == pid) return status;
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            ADD_FAILURE() << "the probe did not end";
            return status;
        }
    }
}

bool SameSettings(const termios& a, const termios& b) {
    return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag &&
           a.c_lflag == b.c_lflag && std::memcmp(a.c_cc, b.c_cc, sizeof a.c_cc) == 0;
}

struct PtyRun {
    termios before{};
    termios during{};
    termios after{};
    int status = 0;
    std::string output;  // everything after "READY"
};

// Runs the probe on a fresh pseudo-terminal, types input once it reads
// keys, and reads the terminal's settings before, during and after.
PtyRun RunOnPty(const char* mode, const std::string& input) {
    PtyRun run;
    int master = -1, slave = -1;
    EXPECT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    tcgetattr(slave, &run.before);
    pid_t pid = fork();
    if (pid == 0) {
        close(master);
        if (login_tty(slave) != 0) _exit(126);
        ExecProbe(mode);
    }
    std::string text;
    EXPECT_TRUE(ReadUntil(master, text, "READY")) << text;
    tcgetattr(slave, &run.during);
    if (!input.empty()) {
        EXPECT_EQ(write(master, input.data(), input.size()), ssize_t(input.size()));
    }
    run.status = WaitForChild(pid, master, text);
    tcgetattr(slave, &run.after);
    std::size_t ready = text.find("READY");
    run.output = ready == std::string::npos ? text : text.substr(ready + 5);
    close(master);
    close(slave);
    return run;
}

// Strips line ends and blanks from the probe's output.
std::string Compact(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c != '\r' && c != '\n') out += c;
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    while (!out.empty() && out.front() == ' ') out.erase(out.begin());
    return out;
}

void ExpectRawWhileRunning(const PtyRun& run) {
    EXPECT_EQ(run.during.c_lflag & (ICANON | ECHO), 0u);
    EXPECT_NE(run.during.c_lflag & ISIG, 0u);  // Ctrl+C still ends the program
    EXPECT_EQ(run.during.c_iflag & ICRNL, 0u);
    EXPECT_TRUE(SameSettings(run.before, run.after));
}

struct Ending {
    const char* mode;
    std::string input;
    int signal;  // 0: a normal end with exitCode
    int exitCode;
};

void PrintTo(const Ending& e, std::ostream* os) { *os << e.mode; }

class TerminalRestored : public testing::TestWithParam<Ending> {};

}  // namespace

TEST_P(TerminalRestored, OnEveryWayOut) {
    const Ending& e = GetParam();
    PtyRun run = RunOnPty(e.mode, e.input);
    ExpectRawWhileRunning(run);
    if (e.signal == 0) {
        ASSERT_TRUE(WIFEXITED(run.status)) << run.status;
        EXPECT_EQ(WEXITSTATUS(run.status), e.exitCode);
    } else if (e.signal == SIGSEGV || e.signal == SIGABRT) {
        // A sanitizer's own crash handler may report and exit instead.
        EXPECT_TRUE(WIFSIGNALED(run.status) || (WIFEXITED(run.status) && WEXITSTATUS(run.status) != 0))
            << run.status;
    } else {
        ASSERT_TRUE(WIFSIGNALED(run.status)) << run.status;
        EXPECT_EQ(WTERMSIG(run.status), e.signal);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Console, TerminalRestored,
    testing::Values(Ending{"return", "x", 0, 0}, Ending{"exit", "x", 0, 3},
                    Ending{"SIGINT", "x", SIGINT, 0}, Ending{"wait", "\x03", SIGINT, 0},
                    Ending{"wait_handled", "\x03", SIGINT, 0},
                    Ending{"SIGTERM", "x", SIGTERM, 0}, Ending{"SIGHUP", "x", SIGHUP, 0},
                    Ending{"SIGSEGV", "x", SIGSEGV, 0}, Ending{"SIGABRT", "x", SIGABRT, 0}),
    [](const testing::TestParamInfo<Ending>& info) {
        return std::string(info.param.mode) + (info.param.input == "\x03" ? "_CtrlC" : "");
    });

TEST(ConsolePty, TypedKeysArriveAsTheirCharacters) {
    // Up, Space, Enter, Ctrl+Up, keypad Enter, a, Ctrl+Z and Ctrl+\ as keys
    // (not signals), Shift+Up skipped, F9, q.
    PtyRun run = RunOnPty("keys", "\x1b[A \r\x1b[1;5A\x1bOMa\x1a\x1c\x1b[1;2A\x1b[20~q");
    ExpectRawWhileRunning(run);
    EXPECT_EQ(Compact(run.output), "00 48 20 0D 00 8D 0D 61 00 00 00 43 71");
    ASSERT_TRUE(WIFEXITED(run.status));
    EXPECT_EQ(WEXITSTATUS(run.status), 0);
}

namespace {

// Runs the probe with standard input from a pipe fed with input (or from
// /dev/null, or closed) and standard output into a pipe.
enum class Stdin { Pipe, DevNull, Closed };

std::string RunWithStdin(const char* mode, Stdin kind, const std::string& input, int& status) {
    int in[2], out[2];
    EXPECT_EQ(pipe(in), 0);
    EXPECT_EQ(pipe(out), 0);
    pid_t pid = fork();
    if (pid == 0) {
        close(in[1]);
        close(out[0]);
        dup2(out[1], STDOUT_FILENO);
        if (kind == Stdin::Pipe) dup2(in[0], STDIN_FILENO);
        if (kind == Stdin::DevNull) dup2(open("/dev/null", O_RDONLY), STDIN_FILENO);
        if (kind == Stdin::Closed) close(STDIN_FILENO);
        ExecProbe(mode);
    }
    close(in[0]);
    close(out[1]);
    signal(SIGPIPE, SIG_IGN);
    if (kind == Stdin::Pipe) {
        EXPECT_EQ(write(in[1], input.data(), input.size()), ssize_t(input.size()));
    }
    close(in[1]);
    std::string text;
    status = WaitForChild(pid, out[0], text);
    char buffer[256];
    ssize_t n;
    while ((n = read(out[0], buffer, sizeof buffer)) > 0) text.append(buffer, std::size_t(n));
    close(out[0]);
    return text;
}

}  // namespace

TEST(ConsolePipe, PipedBytesAreTypedKeysAndGarbageIsDropped) {
    int status = 0;
    std::string input = "\x1b[B x\n\xff\xfe\xc3\xa9\x1b[99~\x1b[1;5Aq";
    std::string text = RunWithStdin("keys", Stdin::Pipe, input, status);
    EXPECT_EQ(Compact(text.substr(text.find("READY") + 5)), "00 50 20 78 0D 00 8D 71");
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(ConsolePipe, ThousandsOfPipedKeysAreAllDelivered) {
    std::string input;
    for (int k = 0; k < 5000; ++k) input += "\x1b[A ";
    input += "q";
    int status = 0;
    std::string text = RunWithStdin("keys", Stdin::Pipe, input, status);
    std::string expected;
    for (int k = 0; k < 5000; ++k) expected += "00 48 20 ";
    expected += "71";
    EXPECT_EQ(Compact(text.substr(text.find("READY") + 5)), expected);
}

TEST(ConsolePipe, EmptyOrClosedInputGivesNoKeysAndNoError) {
    int status = 0;
    EXPECT_EQ(Compact(RunWithStdin("nokeys", Stdin::DevNull, "", status)), "READY started=1 seen=0");
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(Compact(RunWithStdin("nokeys", Stdin::Closed, "", status)), "READY started=0 seen=0");
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(Compact(RunWithStdin("nokeys", Stdin::Pipe, "", status)), "READY started=1 seen=0");
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}
