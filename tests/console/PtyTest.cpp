// The console key source in a child process: on a pseudo-terminal the
// terminal's settings come back on every way out and typed keys arrive as
// the right characters; a pipe, /dev/null or a closed input is read safely.
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

enum class Input { Pty, Pipe, DevNull, Closed };

struct ProbeRun {
    termios before{}, during{}, after{};  // the pseudo-terminal's settings
    int status = 0;
    std::string output;  // what the probe wrote after "READY", line ends and outer blanks removed
};

bool SameSettings(const termios& a, const termios& b) {
    return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag &&
           a.c_lflag == b.c_lflag && std::memcmp(a.c_cc, b.c_cc, sizeof a.c_cc) == 0;
}

// Reads what is there within 50 ms; false at end of output.
bool ReadSome(int fd, std::string& text) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 50) <= 0) return true;
    char buffer[4096];
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n > 0) text.append(buffer, std::size_t(n));
    return n > 0;
}

std::string AfterReady(const std::string& text) {
    std::size_t at = text.find("READY");
    std::string out;
    for (char c : text.substr(at == std::string::npos ? 0 : at + 5)) {
        if (c != '\r' && c != '\n') out += c;
    }
    out.erase(0, out.find_first_not_of(' '));
    out.erase(out.find_last_not_of(' ') + 1);
    return out;
}

// Starts the probe in the given mode with the given standard input, types
// input once it reads keys, and collects its output and its end. The 20 s
// limit only guards against a hung child; nothing is timed.
ProbeRun RunProbe(const char* mode, Input kind, const std::string& input) {
    ProbeRun run;
    int master = -1, slave = -1, in[2] = {-1, -1}, out[2] = {-1, -1};
    if (kind == Input::Pty) {
        EXPECT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
        tcgetattr(slave, &run.before);
    } else {
        EXPECT_EQ(pipe(in) | pipe(out), 0);
    }
    pid_t pid = fork();
    if (pid == 0) {
        for (int sig : {SIGINT, SIGQUIT, SIGTERM, SIGHUP, SIGPIPE, SIGTSTP}) signal(sig, SIG_DFL);
        if (kind == Input::Pty) {
            close(master);
            if (login_tty(slave) != 0) _exit(126);
        } else {
            dup2(out[1], STDOUT_FILENO);
            if (kind == Input::Pipe) dup2(in[0], STDIN_FILENO);
            if (kind == Input::DevNull) dup2(open("/dev/null", O_RDONLY), STDIN_FILENO);
            if (kind == Input::Closed) close(STDIN_FILENO);
            for (int fd : {in[0], in[1], out[0], out[1]}) close(fd);
        }
        execl(CONSOLE_PTY_PROBE, CONSOLE_PTY_PROBE, mode, static_cast<char*>(nullptr));
        _exit(127);
    }
    int reader = kind == Input::Pty ? master : out[0];
    int writer = kind == Input::Pty ? master : in[1];
    if (kind != Input::Pty) close(in[0]), close(out[1]);
    std::string text;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (text.find("READY") == std::string::npos && std::chrono::steady_clock::now() < deadline) {
        if (!ReadSome(reader, text)) break;
    }
    if (kind == Input::Pty) tcgetattr(slave, &run.during);
    signal(SIGPIPE, SIG_IGN);
    if (!input.empty()) {
        EXPECT_EQ(write(writer, input.data(), input.size()), ssize_t(input.size()));
    }
    if (kind != Input::Pty) close(in[1]);
    for (;;) {
        ReadSome(reader, text);
        if (waitpid(pid, &run.status, WNOHANG) == pid) break;
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &run.status, 0);
            ADD_FAILURE() << "the probe did not end; output: " << text;
            break;
        }
    }
    while (kind != Input::Pty && ReadSome(reader, text)) {
    }
    if (kind == Input::Pty) tcgetattr(slave, &run.after), close(slave);
    close(reader);
    run.output = AfterReady(text);
    return run;
}

void ExpectRawWhileRunningAndRestoredAfter(const ProbeRun& run) {
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
    ProbeRun run = RunProbe(e.mode, Input::Pty, e.input);
    ExpectRawWhileRunningAndRestoredAfter(run);
    if (e.signal == 0) {
        ASSERT_TRUE(WIFEXITED(run.status)) << run.status;
        EXPECT_EQ(WEXITSTATUS(run.status), e.exitCode);
    } else if (e.signal == SIGSEGV || e.signal == SIGABRT) {
        // A sanitizer's own crash handler may report and exit instead.
        EXPECT_TRUE(WIFSIGNALED(run.status) || (WIFEXITED(run.status) && WEXITSTATUS(run.status) != 0));
    } else {
        ASSERT_TRUE(WIFSIGNALED(run.status)) << run.status;
        EXPECT_EQ(WTERMSIG(run.status), e.signal);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Console, TerminalRestored,
    testing::Values(Ending{"return", "x", 0, 0}, Ending{"exit", "x", 0, 3}, Ending{"SIGINT", "x", SIGINT, 0},
                    Ending{"wait", "\x03", SIGINT, 0}, Ending{"wait_handled", "\x03", SIGINT, 0},
                    Ending{"SIGTERM", "x", SIGTERM, 0}, Ending{"SIGHUP", "x", SIGHUP, 0},
                    Ending{"SIGSEGV", "x", SIGSEGV, 0}, Ending{"SIGABRT", "x", SIGABRT, 0}),
    [](const testing::TestParamInfo<Ending>& info) {
        return std::string(info.param.mode) + (info.param.input == "\x03" ? "_CtrlC" : "");
    });

TEST(ConsolePty, TypedKeysArriveAsTheirCharacters) {
    // Up, Space, Enter, Ctrl+Up, keypad Enter, a, Ctrl+Z and Ctrl+\ as keys
    // (not signals), Shift+Up skipped, F9, q.
    ProbeRun run = RunProbe("keys", Input::Pty, "\x1b[A \r\x1b[1;5A\x1bOMa\x1a\x1c\x1b[1;2A\x1b[20~q");
    ExpectRawWhileRunningAndRestoredAfter(run);
    EXPECT_EQ(run.output, "00 48 20 0D 00 8D 0D 61 00 00 00 43 71");
    EXPECT_TRUE(WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0);
}

TEST(ConsolePipe, PipedBytesAreTypedKeysAndGarbageIsDropped) {
    ProbeRun run = RunProbe("keys", Input::Pipe, "\x1b[B x\n\xff\xfe\xc3\xa9\x1b[99~\x1b[1;5Aq");
    EXPECT_EQ(run.output, "00 50 20 78 0D 00 8D 71");
    EXPECT_TRUE(WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0);
}

TEST(ConsolePipe, ThousandsOfPipedKeysAreAllDelivered) {
    std::string input, expected;
    for (int k = 0; k < 5000; ++k) input += "\x1b[A ", expected += "00 48 20 ";
    ProbeRun run = RunProbe("keys", Input::Pipe, input + "q");
    EXPECT_EQ(run.output, expected + "71");
}

TEST(ConsolePipe, EmptyOrClosedInputGivesNoKeysAndNoError) {
    for (auto [kind, want] : {std::pair{Input::DevNull, "started=1 seen=0"}, std::pair{Input::Closed, "started=0 seen=0"},
                              std::pair{Input::Pipe, "started=1 seen=0"}}) {
        ProbeRun run = RunProbe("nokeys", kind, "");
        EXPECT_EQ(run.output, want);
        EXPECT_TRUE(WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0);
    }
}
