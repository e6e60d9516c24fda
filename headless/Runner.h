// Carries out a script against the running program: posts its keys and
// events, takes its snapshots and traces as virtual time passes, and ends
// the run when the script says so, when the program waits for a key that
// the script no longer holds, or at the time limit.
#pragma once
#include <cstdio>
#include <functional>
#include <vector>

#include "headless/Script.h"
#include "headless/VirtualClock.h"

namespace Headless {

inline constexpr uint64_t DefaultUntilMs = 3600000;

// Exit statuses of the runner itself.
inline constexpr int StatusDone = 0;
inline constexpr int StatusScriptFault = 2;

// What the runner does to the outside world; the real one talks to Graph and
// exits, tests record.
class RunnerEffects {
public:
    virtual ~RunnerEffects() = default;
    virtual void PostKey(const KeyPress& key) = 0;
    virtual void PostEvent() = 0;
    // A non-key event of the kind the script named; by default as PostEvent.
    virtual void PostOtherEvent(IO::OtherEvent) { PostEvent(); }
    // Both return false with `why` set to the reason ("Permission denied").
    virtual bool Snap(const std::string& path, std::string& why) = 0;
    virtual bool TraceTo(const std::string& path, std::string& why) = 0;  // opens for append and switches the trace there
    // False once a write to the open trace file has failed.
    virtual bool TraceWritesOk() = 0;
    // Stops tracing and closes the file; false when a write, the last flush
    // or the close failed.
    virtual bool TraceOff() = 0;
    // Why the trace could not be written ("No space left on device"), once
    // TraceWritesOk or TraceOff said so; empty when not known.
    virtual std::string TraceFault() { return ""; }
    // Ends the run with `status` wherever the program stands, closing any
    // trace left open without a word; the real one never returns.
    virtual void EndRun(int status) = 0;
    // The same when the run's time limit is reached: a replay cut off there
    // did not reach its recorded end.
    virtual void EndAtTimeLimit(int status) { EndRun(status); }
};

class ScriptRunner {
public:
    ScriptRunner(VirtualClock& clock, std::vector<Command> commands, uint64_t untilMs, RunnerEffects& effects);

    // Commands at time 0, before the program starts. A snapshot needs the
    // window, so the first snapshot and what follows it wait for the
    // program's first wait (still at time 0).
    void RunStartCommands();
    // The clock's listener: runs every command due by `deadlineUs`, and ends
    // the run once the time limit is reached.
    void RunUntil(uint64_t deadlineUs);
    // The input wait hook: runs commands until one has queued an event; ends
    // the run when none is left or the time limit comes first.
    void WaitForEvent(const std::function<bool()>& queueHasEvent);
    // Closes the trace once the program has ended by itself; false (with the
    // message said) when the trace could not be written.
    bool FinishTrace();

private:
    void Execute(const Command& command);
    void End(int status);
    void EndAtTimeLimit();
    // Closes the open trace, if any; false (with the message said) when it
    // could not be written.
    bool CloseTrace();
    void CheckTrace();
    void Say(const Command& command, const std::string& what);
    void Fail(const Command& command, const std::string& what);

    VirtualClock& clock_;
    std::vector<Command> commands_;
    std::size_t next_ = 0;
    uint64_t untilUs_;
    RunnerEffects& effects_;
    const Command* trace_ = nullptr;  // the command that opened the trace file, while it is open
};

}  // namespace Headless
