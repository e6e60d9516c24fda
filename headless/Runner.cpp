// The script runner's timing rules.
#include "headless/Runner.h"

#include <cstdio>

namespace Headless {

ScriptRunner::ScriptRunner(VirtualClock& clock, std::vector<Command> commands, uint64_t untilMs,
                           RunnerEffects& effects)
    : clock_(clock), commands_(std::move(commands)), untilUs_(untilMs * 1000), effects_(effects) {}

void ScriptRunner::RunStartCommands() {
    while (next_ < commands_.size() && commands_[next_].timeMs == 0 && commands_[next_].kind != CommandKind::Snap) {
        Execute(commands_[next_++]);
    }
}

void ScriptRunner::RunUntil(uint64_t deadlineUs) {
    uint64_t reach = deadlineUs < untilUs_ ? deadlineUs : untilUs_;
    while (next_ < commands_.size() && commands_[next_].timeMs * 1000 <= reach) {
        const Command& command = commands_[next_++];
        clock_.AdvanceTo(command.timeMs * 1000);
        Execute(command);
    }
    if (deadlineUs >= untilUs_) {
        clock_.AdvanceTo(untilUs_);
        effects_.EndRun(StatusDone);
    }
}

void ScriptRunner::WaitForEvent(const std::function<bool()>& queueHasEvent) {
    while (!queueHasEvent()) {
        if (next_ >= commands_.size()) {
            effects_.EndRun(StatusDone);
            return;
        }
        const Command& command = commands_[next_];
        if (command.timeMs * 1000 > untilUs_) {
            clock_.AdvanceTo(untilUs_);
            effects_.EndRun(StatusDone);
            return;
        }
        ++next_;
        clock_.AdvanceTo(command.timeMs * 1000);
        Execute(command);
    }
}

void ScriptRunner::Execute(const Command& command) {
    switch (command.kind) {
        case CommandKind::Key: effects_.PostKey(command.key); break;
        case CommandKind::Event: effects_.PostEvent(); break;
        case CommandKind::Snap:
            if (!effects_.Snap(command.path)) Fail(command, "cannot write snapshot \"" + command.path + "\"");
            break;
        case CommandKind::Trace:
            if (!effects_.TraceTo(command.path)) Fail(command, "cannot open trace file \"" + command.path + "\"");
            break;
        case CommandKind::TraceOff: effects_.TraceOff(); break;
        case CommandKind::End: effects_.EndRun(StatusDone);
    }
}

void ScriptRunner::Fail(const Command& command, const std::string& what) {
    std::fprintf(stderr, "kyr-headless: script line %d: %s\n", command.line, what.c_str());
    effects_.EndRun(StatusScriptFault);
}

}  // namespace Headless
