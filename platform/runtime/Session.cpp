// The run of the program and its one way out (see Session.h).
#include "platform/runtime/Session.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "platform/console/ConsoleInput.h"
#include "platform/console/NamedFiles.h"
#include "platform/console/QuotedText.h"
#include "platform/console/Recording.h"
#include "platform/console/TerminalMode.h"
#include "platform/console/Waits.h"
#include "platform/graph/Graph.h"
#include "platform/graph/GraphProbe.h"

namespace Runtime {
namespace {

// Signals that ask the run to end; the run ends at the program's next wait
// (at once when it waits) and then by the signal itself.
constexpr std::array<int, 4> kEndingSignals{SIGINT, SIGTERM, SIGHUP, SIGQUIT};

struct RunFiles {
    SessionFiles files;
    std::FILE* trace = nullptr;
    int traceError = 0;   // errno of the trace's first failed flush
    std::array<struct sigaction, kEndingSignals.size()> previous{};
    bool handlersInstalled = false;
};
RunFiles run;

// At every wait: a run ended by a signal or a lost display then leaves
// whole frames in the trace. The first failure's reason is kept for the
// message at the end.
void FlushTrace() {
    if (std::fflush(run.trace) != 0 && run.traceError == 0) run.traceError = errno;
}

// The first signal asks for the end. Another one, while the end is under
// way, is taken as the player insisting: it goes to the handler that was
// there before (the terminal's, which restores it) and ends the process.
void OnEndingSignal(int sig) {
    if (!Waits::EndRequested()) {
        Waits::RequestEndBySignal(sig);
        return;
    }
    for (std::size_t k = 0; k < kEndingSignals.size(); ++k)
        if (kEndingSignals[k] == sig) sigaction(sig, &run.previous[k], nullptr);
    raise(sig);
}

void InstallSignalHandlers() {
    struct sigaction action {};
    action.sa_handler = OnEndingSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;   // no restart: a wait that a signal interrupts looks at once
    for (std::size_t k = 0; k < kEndingSignals.size(); ++k) {
        sigaction(kEndingSignals[k], nullptr, &run.previous[k]);
        if (run.previous[k].sa_handler == SIG_IGN) continue;  // an ignored signal stays ignored
        sigaction(kEndingSignals[k], &action, nullptr);
    }
    run.handlersInstalled = true;
}

// The replay reached its end or ran out: the run unwinds as when a runner stops it.
void EndReplay(int status) { throw Waits::EndOfRun{Waits::EndCause::Stopped, status, 0}; }

Recording::EndKind KindOf(Waits::EndCause cause) {
    switch (cause) {
    case Waits::EndCause::Signal: return Recording::EndKind::Signal;
    case Waits::EndCause::Stopped:
    case Waits::EndCause::TimeLimit: return Recording::EndKind::Stopped;
    default: return Recording::EndKind::Closed;
    }
}

// The trace: false when a write, its last flush or its close failed.
bool CloseTrace() {
    if (run.trace == nullptr) return true;
    Graph::SetTrace(nullptr);
    FlushTrace();
    bool ok = run.traceError == 0 && std::ferror(run.trace) == 0;
    if (std::fclose(run.trace) != 0 && ok) {
        run.traceError = errno;
        ok = false;
    }
    run.trace = nullptr;
    if (!ok)
        std::fprintf(stderr, "%s: cannot write trace file %s: %s\n", run.files.program.c_str(),
                     IO::QuotedText(run.files.tracePath, '"').c_str(),
                     run.traceError != 0 ? std::strerror(run.traceError) : "a write failed");
    return ok;
}

// Where no wait can unwind the run (the display's connection lost inside
// the window system): what the one way out would have done, as far as it
// can be done there.
void LastWords(int status) {
    Recording::EndRecording(Recording::EndKind::Closed, status);
    (void)Recording::FinishRecording();
    if (run.trace != nullptr) std::fflush(run.trace);
    if (run.files.closeOwnFiles) (void)run.files.closeOwnFiles();
    IO::TerminalMode::Restore();
}

// Two options naming one file: the recording being replayed must not be
// overwritten, and a trace and a recording must not write over each other.
bool SameFileTwice(const SessionFiles& files) {
    const struct {
        const std::string& first;
        const std::string& second;
        const char* what;
    } pairs[] = {{files.replayPath, files.recordPath, "it is the recording being replayed"},
                 {files.replayPath, files.tracePath, "it is the recording being replayed"},
                 {files.recordPath, files.tracePath, "it is also the recording to make"}};
    for (const auto& [first, second, what] : pairs) {
        if (first.empty() || second.empty() || (first != second && !IO::SameFile(first, second))) continue;
        const bool trace = &second == &files.tracePath;
        std::fprintf(stderr, "%s: cannot %s %s: %s\n", files.program.c_str(), trace ? "trace to" : "record to",
                     IO::QuotedText(second, '"').c_str(), what);
        return true;
    }
    return false;
}

// Files to be written that cannot be (a FIFO, a folder, a missing folder ...)
// are refused before anything is opened, so that a refused run changes no file.
bool WritableOrSaid(const std::string& path, const char* what, const std::string& who) {
    if (path.empty()) return true;
    const std::string why = IO::NamedFileProblem(path, IO::FileUse::Write);
    if (why.empty()) return true;
    std::fprintf(stderr, "%s: cannot create %s %s: %s\n", who.c_str(), what, IO::QuotedText(path, '"').c_str(),
                 why.c_str());
    return false;
}

}  // namespace

bool Session::Open(const SessionFiles& files) {
    run.files = files;
    const char* who = files.program.c_str();
    if (SameFileTwice(files) || !WritableOrSaid(files.tracePath, "trace file", files.program) ||
        !WritableOrSaid(files.recordPath, "recording", files.program))
        return false;
    std::string error;
    if (!files.replayPath.empty() &&
        !Recording::StartReplayOf(files.replayPath, files.program, files.version, EndReplay, error)) {
        std::fprintf(stderr, "%s: %s\n", who, error.c_str());
        return false;
    }
    if (!files.tracePath.empty()) {
        run.trace = IO::OpenNamedStream(files.tracePath, IO::FileUse::Write, error);
        if (run.trace == nullptr) {
            std::fprintf(stderr, "%s: cannot create trace file %s: %s\n", who,
                         IO::QuotedText(files.tracePath, '"').c_str(), error.c_str());
            return false;
        }
        Graph::SetTrace(run.trace);
        Waits::AddWaitListener(FlushTrace);
    }
    if (!files.recordPath.empty() &&
        !Recording::StartRecording(files.recordPath, {files.program, files.version, files.pictureOptions}, error)) {
        std::fprintf(stderr, "%s: %s\n", who, error.c_str());
        return false;
    }
    return true;
}

int Session::Run(int (*body)()) {
    InstallSignalHandlers();
    Waits::SetAbruptEndHook(LastWords);
    Waits::EndOfRun end;
    bool endedEarly = false;
    int status = 0;
    try {
        status = body();
    } catch (const Waits::EndOfRun& e) {
        end = e;
        endedEarly = true;
        status = e.status;
    }
    // The one way out.
    Waits::SetAbruptEndHook(nullptr);
    Graph::ModuleExit();
    if (endedEarly) {
        const bool bySignal = end.cause == Waits::EndCause::Signal;
        Recording::EndRecording(KindOf(end.cause), bySignal ? end.signal : end.status);
    } else {
        Recording::EndRecording(Recording::EndKind::Exit, status);
    }
    bool kept = Recording::FinishRecording();
    kept = CloseTrace() && kept;
    // A replay that the program's own end or the time limit stopped before
    // the recorded end did not play the recording: said when it changes the status.
    const bool byProgramOrLimit = !endedEarly || end.cause == Waits::EndCause::TimeLimit;
    const std::string stoppedShort = byProgramOrLimit ? Recording::ReplayStoppedShort(!endedEarly) : "";
    if (status == 0 && !stoppedShort.empty())
        std::fprintf(stderr, "%s: %s\n", run.files.program.c_str(), stoppedShort.c_str());
    if (run.files.closeOwnFiles) kept = run.files.closeOwnFiles() && kept;
    IO::StopConsoleInput();   // restores the terminal
    Waits::ClearWaitListeners();
    std::fflush(stdout);
    if (endedEarly && end.cause == Waits::EndCause::Signal) {
        std::signal(end.signal, SIG_DFL);
        raise(end.signal);
    }
    if (status == 0 && !kept) status = kStatusFilesNotKept;
    if (status == 0 && !stoppedShort.empty()) status = Recording::kStatusRanOut;
    return status;
}

}  // namespace Runtime
