// kyr-headless: the whole program on the offscreen window, a virtual clock
// and scripted keys (or the keys and clock readings of a recorded session).
// The program's console output goes to standard output; the runner's own
// messages go to standard error.
//
//   kyr-headless [--script FILE] [--clock "YYYY-MM-DD HH:MM:SS.CC"] [--until MS] [--frames]
//                [--record FILE] [--replay FILE]
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "headless/Quote.h"
#include "headless/Runner.h"
#include "platform/console/InputQueue.h"
#include "platform/console/NamedFiles.h"
#include "platform/console/Recording.h"
#include "platform/console/Waits.h"
#include "platform/graph/Graph.h"
#include "platform/graph/GraphFrames.h"
#include "platform/graph/GraphProbe.h"
#include "platform/runtime/Session.h"
#include "shell/Shell.h"

#ifndef KYR_VERSION
#error "KYR_VERSION must come from the build (the project's version)"
#endif

namespace {

using namespace Headless;

struct Options {
    std::string scriptPath;
    CivilTime clock;
    uint64_t untilMs = DefaultUntilMs;
    bool frameMarks = false;   // --frames
    std::string recordPath;
    std::string replayPath;
};

// The runner's effects on the program: keys into the console queue,
// snapshots and traces through Graph, and the end of the run.
class ProgramEffects : public RunnerEffects {
public:
    void PostKey(const KeyPress& key) override {
        IO::PostInput(IO::InputEvent{true, key.down});
        IO::PostInput(IO::InputEvent{true, key.up});
    }
    void PostEvent() override { PostOtherEvent(IO::OtherEvent::Other); }
    void PostOtherEvent(IO::OtherEvent kind) override {
        IO::InputEvent event;
        event.isKey = false;
        event.other = kind;
        IO::PostInput(event);
    }
    bool Snap(const std::string& path, std::string& why) override {
        std::FILE* file = IO::OpenNamedStream(path, IO::FileUse::Write, why);
        if (file == nullptr) return false;
        const bool written = Graph::WritePng(file);
        const int writeError = errno;
        const bool closed = std::fclose(file) == 0;
        if (!written || !closed) why = std::strerror(written ? errno : writeError);
        return written && closed;
    }
    bool TraceTo(const std::string& path, std::string& why) override {
        std::FILE* file = IO::OpenNamedStream(path, IO::FileUse::Append, why);
        if (file == nullptr) return false;
        Graph::SetTrace(file);
        if (trace_ != nullptr) std::fclose(trace_);
        trace_ = file;
        traceErrno_ = 0;
        return true;
    }
    // With --frames a trace gets "frame MS" after the requests of each frame
    // the window shows, MS being the virtual time of the wait that shows it.
    // The marks cut a trace into frames; they are off by default, since where
    // a frame ends depends on timing, which a replayed run need not share.
    void MarkFrames(bool on) { markFrames_ = on; }
    // Called at each of the program's waits, where the program publishes a
    // frame when it drew since the last one.
    void MarkFrame(uint64_t ms) {
        if (!markFrames_) return;
        const uint64_t posted = Graph::RequestsPosted();
        if (posted == postedAtMark_) return;
        postedAtMark_ = posted;
        if (trace_ != nullptr) std::fprintf(trace_, "frame %llu\n", static_cast<unsigned long long>(ms));
    }
    // The program writes the trace on its own thread, the one the runner's
    // hooks run on, so the file's error mark can be read here.
    bool TraceWritesOk() override {
        if (trace_ == nullptr || std::ferror(trace_) == 0) return true;
        if (std::fflush(trace_) != 0) traceErrno_ = errno;   // the reason, when the failure persists
        return false;
    }
    std::string TraceFault() override { return traceErrno_ != 0 ? std::strerror(traceErrno_) : ""; }
    bool TraceOff() override { return CloseTrace(); }
    // Ends in the middle of the program: the run unwinds to its one way out
    // (platform/runtime), which closes the trace and the recording.
    void EndRun(int status) override { throw Waits::EndOfRun{Waits::EndCause::Stopped, status, 0}; }
    void EndAtTimeLimit(int status) override { throw Waits::EndOfRun{Waits::EndCause::TimeLimit, status, 0}; }

private:
    // False when any write to the file, its last flush or its close failed
    // (a failed write leaves the file's error mark set).
    bool CloseTrace() {
        Graph::SetTrace(nullptr);
        if (trace_ == nullptr) return true;
        bool ok = std::fflush(trace_) == 0;
        if (!ok) traceErrno_ = errno;
        ok = std::ferror(trace_) == 0 && ok;
        if (std::fclose(trace_) != 0 && ok) {
            traceErrno_ = errno;
            ok = false;
        }
        trace_ = nullptr;
        return ok;
    }

    std::FILE* trace_ = nullptr;
    int traceErrno_ = 0;
    bool markFrames_ = false;
    uint64_t postedAtMark_ = 0;
};

ScriptRunner* gRunner = nullptr;
VirtualClock* gClock = nullptr;
ProgramEffects* gEffects = nullptr;

void WaitForScriptedEvent() {
    gEffects->MarkFrame(gClock->NowUs() / 1000);
    gRunner->WaitForEvent([] {
        IO::InputEvent event;
        return IO::PeekInput(event);
    });
}

// The run's end closes the trace a script left open; false when it was not kept.
bool CloseScriptTrace() { return gRunner == nullptr || gRunner->FinishTrace(); }

int Usage(const char* message) {
    std::fprintf(stderr, "kyr-headless: %s\n", message);
    std::fprintf(stderr, "usage: kyr-headless [--script FILE] [--clock \"YYYY-MM-DD HH:MM:SS.CC\"] [--until MS] [--frames]\n"
                         "                    [--record FILE] [--replay FILE]\n");
    return StatusScriptFault;
}

bool ParseUntil(std::string_view text, uint64_t& ms) {
    Script probe = ParseScriptText("at " + std::string(text) + " end");
    if (!probe.Ok()) return false;
    ms = probe.commands.front().timeMs;
    return true;
}

// Returns -1 when the options are sound, else the exit status.
int ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        std::string_view option = argv[i];
        if (option == "--frames") {
            options.frameMarks = true;
            continue;
        }
        if (option != "--script" && option != "--clock" && option != "--until" && option != "--record" &&
            option != "--replay") {
            return Usage(("unknown option " + Quote(option)).c_str());
        }
        if (i + 1 >= argc) return Usage(("missing value after " + std::string(option)).c_str());
        std::string_view value = argv[++i];
        if (value.empty() && option != "--clock" && option != "--until")
            return Usage(("empty file name after " + std::string(option)).c_str());
        if (option == "--script") {
            options.scriptPath = std::string(value);
        } else if (option == "--record") {
            options.recordPath = std::string(value);
        } else if (option == "--replay") {
            options.replayPath = std::string(value);
        } else if (option == "--clock") {
            if (!ParseCivilTime(value, options.clock)) return Usage("bad --clock (want \"YYYY-MM-DD HH:MM:SS.CC\")");
        } else if (!ParseUntil(value, options.untilMs)) {
            return Usage("bad --until (want milliseconds)");
        }
    }
    return -1;
}

// Alongside a replay the keys come from the recording: a script may only
// snap, trace and end.
bool ScriptFitsReplay(const Script& script) {
    for (const Command& command : script.commands) {
        if (command.kind != CommandKind::Key && command.kind != CommandKind::Event) continue;
        std::fprintf(stderr, "kyr-headless: script line %d: %s cannot be used with --replay (the recording gives the keys)\n",
                     command.line, command.kind == CommandKind::Key ? "key" : "event");
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (int status = ParseOptions(argc, argv, options); status >= 0) return status;
    Script script;
    if (!options.scriptPath.empty()) {
        script = LoadScript(options.scriptPath);
        if (!script.Ok()) {
            std::fprintf(stderr, "kyr-headless: %s\n", script.error.c_str());
            return StatusScriptFault;
        }
    }
    if (!options.replayPath.empty() && !ScriptFitsReplay(script)) return StatusScriptFault;
    Runtime::SessionFiles files;
    files.program = "kyr-headless";
    files.version = KYR_VERSION;
    files.pictureOptions = "window=offscreen";
    files.replayPath = options.replayPath;
    files.recordPath = options.recordPath;
    files.closeOwnFiles = CloseScriptTrace;
    Runtime::Session session;
    if (!session.Open(files)) return StatusScriptFault;

    static VirtualClock clock(options.clock);
    Clock::Use(clock);
    static ProgramEffects effects;
    static ScriptRunner runner(clock, std::move(script.commands), options.untilMs, effects);
    gRunner = &runner;
    gClock = &clock;
    gEffects = &effects;
    effects.MarkFrames(options.frameMarks);
    clock.SetListener([](uint64_t deadlineUs) {
        gEffects->MarkFrame(gClock->NowUs() / 1000);
        gRunner->RunUntil(deadlineUs);
    });
    IO::SetWaitHook(WaitForScriptedEvent);

    // The script's first commands run before the program starts, inside the
    // run, so that a script that ends or fails at once ends it the same way.
    return session.Run([] {
        gRunner->RunStartCommands();
        return KYR12::RunProgram();
    });
}
