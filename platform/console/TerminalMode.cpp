// Raw keys on the terminal, and the guarantees that the terminal gets its
// settings back. Only this file deals with termios.
#include "platform/console/TerminalMode.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <termios.h>
#include <unistd.h>

namespace IO::TerminalMode {
namespace {

// Signals whose default action ends the program: the terminal is restored
// before the signal takes effect.
constexpr std::array<int, 9> kEndingSignals{SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGSEGV,
                                            SIGABRT, SIGBUS, SIGFPE, SIGILL};

// Read by signal handlers: plain data only.
termios savedSettings{};
termios rawSettings{};
int terminalFd = -1;
volatile sig_atomic_t rawActive = 0;
std::array<struct sigaction, kEndingSignals.size()> previousActions{};
struct sigaction previousStop {};
bool handlersInstalled = false;

bool IsCrashSignal(int sig) {
    return sig == SIGSEGV || sig == SIGABRT || sig == SIGBUS || sig == SIGFPE || sig == SIGILL;
}

// Async-signal-safe: tcsetattr is on the list of safe calls.
void RestoreSettingsNow() {
    if (rawActive) tcsetattr(terminalFd, TCSANOW, &savedSettings);
}

void OnEndingSignal(int sig) {
    int savedErrno = errno;
    RestoreSettingsNow();
    rawActive = 0;
    // Interrupt, termination, hang-up and quit end the program, whatever a
    // library installed before us (SDL, for one, turns Ctrl+C into a quit
    // event). A crash signal goes to the handler that was there before (a
    // sanitizer's report), or to the default action. Either way it is
    // delivered when this handler returns.
    for (std::size_t k = 0; k < kEndingSignals.size(); ++k) {
        if (kEndingSignals[k] != sig) continue;
        if (IsCrashSignal(sig)) {
            sigaction(sig, &previousActions[k], nullptr);
        } else {
            signal(sig, SIG_DFL);
        }
    }
    raise(sig);
    errno = savedErrno;
}

void InstallStopHandler();

// A stop request (kill -TSTP; the Ctrl+Z key itself is a plain key): give
// the shell its terminal back while stopped, take raw keys up again after.
void OnStopSignal(int) {
    int savedErrno = errno;
    RestoreSettingsNow();
    signal(SIGTSTP, SIG_DFL);
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGTSTP);
    sigprocmask(SIG_UNBLOCK, &stop, nullptr);
    raise(SIGTSTP);  // stops here until continued
    if (rawActive) tcsetattr(terminalFd, TCSANOW, &rawSettings);
    InstallStopHandler();
    errno = savedErrno;
}

void InstallStopHandler() {
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTSTP, &action, nullptr);
}

void InstallHandlers() {
    if (handlersInstalled) return;
    handlersInstalled = true;
    struct sigaction action {};
    action.sa_handler = OnEndingSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t k = 0; k < kEndingSignals.size(); ++k) {
        sigaction(kEndingSignals[k], nullptr, &previousActions[k]);
        // A signal the program was told to ignore stays ignored.
        if (previousActions[k].sa_handler == SIG_IGN) continue;
        sigaction(kEndingSignals[k], &action, nullptr);
    }
    sigaction(SIGTSTP, nullptr, &previousStop);
    if (previousStop.sa_handler == SIG_DFL) InstallStopHandler();
    std::atexit(Restore);
}

// Keys arrive one at a time, unechoed, with CR for Enter. Ctrl+C keeps its
// signal, as it ended the program on the original console; the quit and
// suspend characters and flow control are switched off so that Ctrl+\,
// Ctrl+Z, Ctrl+S and Ctrl+Q reach the program as keys, as they did there.
termios RawFrom(const termios& original) {
    termios raw = original;
    raw.c_iflag &= ~tcflag_t(ICRNL | INLCR | IGNCR | IXON | ISTRIP | PARMRK);
    raw.c_lflag &= ~tcflag_t(ICANON | ECHO | ECHONL | IEXTEN);
    raw.c_lflag |= ISIG;
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    raw.c_cc[VQUIT] = _POSIX_VDISABLE;
    raw.c_cc[VSUSP] = _POSIX_VDISABLE;
    return raw;
}

}  // namespace

bool Enter(int fd) {
    if (rawActive) return true;
    termios original{};
    if (tcgetattr(fd, &original) != 0) return false;
    savedSettings = original;
    rawSettings = RawFrom(original);
    terminalFd = fd;
    InstallHandlers();
    rawActive = 1;
    if (tcsetattr(fd, TCSANOW, &rawSettings) != 0) {
        rawActive = 0;
        return false;
    }
    return true;
}

void Restore() {
    RestoreSettingsNow();
    rawActive = 0;
}

}  // namespace IO::TerminalMode
