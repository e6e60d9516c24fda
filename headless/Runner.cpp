// The script runner's timing rules.
#include "headless/Runner.h"

#include <cstdio>

#include "headless/Quote.h"

namespace Headless {

namespace {
std::string Reason(const std::string& why) { return why.empty() ? "" : ": " + why; }
}  // namespace

ScriptRunner::ScriptRunner(VirtualClock& clock, std::vector<Command> commands, uint64_t untilMs,
                           RunnerEffects& effects)
    : clock_(clock), commands_(std::move(commands)), untilUs_(untilMs * 1000), effects_(effects) {}

void ScriptRunner::RunStartCommands() {
    while (next_ < commands_.size() && commands_[next_].timeMs == 0 && commands_[next_].kind != CommandKind::Snap) {
        Execute(commands_[next_++]);
    }
}

void ScriptRunner::RunUntil(uint64_t deadlineUs) {
    CheckTrace();
    uint64_t reach = deadlineUs < untilUs_ ? deadlineUs : untilUs_;
    while (next_ < commands_.size() && commands_[next_].timeMs * 1000 <= reach) {
        const Command& command = commands_[next_++];
        clock_.AdvanceTo(command.timeMs * 1000);
        Execute(command);
    }
    if (deadlineUs >= untilUs_) EndAtTimeLimit();
}

void ScriptRunner::WaitForEvent(const std::function<bool()>& queueHasEvent) {
    CheckTrace();
    while (!queueHasEvent()) {
        if (next_ >= commands_.size()) {
            End(StatusDone);
            return;
        }
        const Command& command = commands_[next_];
        if (command.timeMs * 1000 > untilUs_) {
            EndAtTimeLimit();
            return;
        }
        ++next_;
        clock_.AdvanceTo(command.timeMs * 1000);
        Execute(command);
    }
}

bool ScriptRunner::FinishTrace() { return CloseTrace(); }

void ScriptRunner::Execute(const Command& command) {
    switch (command.kind) {
        case CommandKind::Key: effects_.PostKey(command.key); break;
        case CommandKind::Event: effects_.PostOtherEvent(command.other); break;
        case CommandKind::Snap:
            if (std::string why; !effects_.Snap(command.path, why))
                Fail(command, "cannot write snapshot " + Quote(command.path) + ": " + why);
            break;
        case CommandKind::Trace:
            // The file written so far is closed and checked before the next opens.
            if (!CloseTrace()) effects_.EndRun(StatusScriptFault);
            if (std::string why; !effects_.TraceTo(command.path, why))
                Fail(command, "cannot open trace file " + Quote(command.path) + ": " + why);
            trace_ = &command;
            break;
        case CommandKind::TraceOff:
            if (!CloseTrace()) effects_.EndRun(StatusScriptFault);
            break;
        case CommandKind::End: End(StatusDone);
    }
}

// A clean end still fails when the trace could not be written.
void ScriptRunner::End(int status) {
    if (!CloseTrace()) status = StatusScriptFault;
    effects_.EndRun(status);
}

void ScriptRunner::EndAtTimeLimit() {
    clock_.AdvanceTo(untilUs_);
    effects_.EndAtTimeLimit(CloseTrace() ? StatusDone : StatusScriptFault);
}

bool ScriptRunner::CloseTrace() {
    if (trace_ == nullptr) return true;
    const Command& opened = *trace_;
    trace_ = nullptr;
    if (effects_.TraceOff()) return true;
    Say(opened, "cannot write trace file " + Quote(opened.path) + Reason(effects_.TraceFault()));
    return false;
}

// The program writes the trace as it draws; a failed write ends the run at
// the next wait instead of at the end of a long run.
void ScriptRunner::CheckTrace() {
    if (trace_ == nullptr || effects_.TraceWritesOk()) return;
    effects_.TraceOff();  // already failed: the message names the file once
    const Command& opened = *trace_;
    trace_ = nullptr;
    Fail(opened, "cannot write trace file " + Quote(opened.path) + Reason(effects_.TraceFault()));
}

void ScriptRunner::Say(const Command& command, const std::string& what) {
    std::fprintf(stderr, "kyr-headless: script line %d: %s\n", command.line, what.c_str());
}

void ScriptRunner::Fail(const Command& command, const std::string& what) {
    Say(command, what);
    effects_.EndRun(StatusScriptFault);
}

}  // namespace Headless
