// The run of the program and its one way out (see Session.h).
#include "platform/runtime/Session.h"

#include <array>
#include <csignal>
#include <cstdio>

#include "platform/console/ConsoleInput.h"
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
    std::array<struct sigaction, kEndingSignals.size()> previous{};
    bool handlersInstalled = false;
};
RunFiles run;

// At every wait: a run ended by a signal or a lost display then leaves
// whole frames in the trace.
void FlushTrace() { std::fflush(run.trace); }

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
    case Waits::EndCause::Stopped: return Recording::EndKind::Stopped;
    default: return Recording::EndKind::Closed;
    }
}

// The trace: false when a write, its last flush or its close failed.
bool CloseTrace() {
    if (run.trace == nullptr) return true;
    Graph::SetTrace(nullptr);
    bool ok = std::fflush(run.trace) == 0;
    ok = std::ferror(run.trace) == 0 && ok;
    ok = std::fclose(run.trace) == 0 && ok;
    run.trace = nullptr;
    if (!ok)
        std::fprintf(stderr, "%s: cannot write trace file %s\n", run.files.program.c_str(),
                     IO::QuotedText(run.files.tracePath, '"').c_str());
    return ok;
}

// Where no wait can unwind the run (the display's connection lost inside
// the window system): what the one way out would have done, as far as it
// can be done there.
void LastWords(int status) {
    Recording::EndRecording(Recording::EndKind::Closed, status);
    if (run.trace != nullptr) std::fflush(run.trace);
    if (run.files.closeOwnFiles) (void)run.files.closeOwnFiles();
    IO::TerminalMode::Restore();
}

}  // namespace

bool Session::Open(const SessionFiles& files) {
    run.files = files;
    const char* who = files.program.c_str();
    std::string error;
    if (!files.replayPath.empty() &&
        !Recording::StartReplayOf(files.replayPath, files.program, files.version, EndReplay, error)) {
        std::fprintf(stderr, "%s: %s\n", who, error.c_str());
        return false;
    }
    if (!files.tracePath.empty()) {
        run.trace = std::fopen(files.tracePath.c_str(), "w");
        if (run.trace == nullptr) {
            std::fprintf(stderr, "%s: cannot create trace file %s\n", who, IO::QuotedText(files.tracePath, '"').c_str());
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
    bool kept = Recording::RecordingWritten();
    kept = CloseTrace() && kept;
    if (run.files.closeOwnFiles) kept = run.files.closeOwnFiles() && kept;
    IO::StopConsoleInput();   // restores the terminal
    Waits::ClearWaitListeners();
    std::fflush(stdout);
    if (endedEarly && end.cause == Waits::EndCause::Signal) {
        std::signal(end.signal, SIG_DFL);
        raise(end.signal);
    }
    if (status == 0 && !kept) status = kStatusFilesNotKept;
    return status;
}

}  // namespace Runtime
