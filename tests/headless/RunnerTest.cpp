// The runner's timing rules, against recorded effects: when commands run,
// when the run ends, and what a wait for a key does.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "headless/Runner.h"

namespace {

using namespace Headless;

struct Ended {
    int status;
};

// Records every effect with the virtual time it happened at.
class RecordingEffects : public RunnerEffects {
public:
    explicit RecordingEffects(VirtualClock& clock) : clock_(clock) {}

    void PostKey(const KeyPress& key) override {
        Log("key " + std::to_string(key.down.virtualKeyCode));
        ++queued;
    }
    void PostEvent() override {
        Log("event");
        ++queued;
    }
    bool Snap(const std::string& path) override {
        Log("snap " + path);
        return path != "unwritable.png";
    }
    bool TraceTo(const std::string& path) override {
        Log("trace " + path);
        return true;
    }
    void TraceOff() override { Log("trace off"); }
    void EndRun(int status) override {
        Log("end " + std::to_string(status));
        throw Ended{status};
    }

    std::vector<std::string> log;
    int queued = 0;

private:
    void Log(const std::string& what) { log.push_back(std::to_string(clock_.NowUs() / 1000) + " " + what); }
    VirtualClock& clock_;
};

class RunnerTest : public ::testing::Test {
protected:
    void Load(const std::string& text, uint64_t untilMs = DefaultUntilMs) {
        Script script = ParseScriptText(text);
        ASSERT_TRUE(script.Ok()) << script.error;
        runner = std::make_unique<ScriptRunner>(clock, script.commands, untilMs, effects);
        effects.queued = 0;
        clock.SetListener([this](uint64_t deadline) { runner->RunUntil(deadline); });
    }
    // A wait for a key, as IO.RdKey does it with an empty queue.
    void WaitForKey() {
        runner->WaitForEvent([this] { return effects.queued > 0; });
        effects.queued = 0;
    }
    int EndStatusOf(const std::function<void()>& step) {
        try {
            step();
        } catch (const Ended& e) {
            return e.status;
        }
        return -1;
    }

    VirtualClock clock{CivilTime{}};
    RecordingEffects effects{clock};
    std::unique_ptr<ScriptRunner> runner;
};

TEST_F(RunnerTest, StartCommandsRunBeforeTheProgramExceptSnapshots) {
    Load("at 0 trace t.txt\nat 0 key UP\nat 0 snap first.png\nat 0 key DOWN\nat 5 key LEFT\n");
    runner->RunStartCommands();
    EXPECT_EQ(effects.log, (std::vector<std::string>{"0 trace t.txt", "0 key 38"}));
    clock.SleepUntilUs(0);  // the program's first wait: the snapshot and what follows, in file order
    EXPECT_EQ(effects.log.size(), 4u);
    EXPECT_EQ(effects.log[2], "0 snap first.png");
    EXPECT_EQ(effects.log[3], "0 key 40");
}

TEST_F(RunnerTest, CommandsRunWhenTheirTimeIsReachedWhileWaiting) {
    Load("at 10 key UP\nat 10 snap a.png\nat 25 key DOWN\n");
    runner->RunStartCommands();
    clock.SleepUntilUs(9000);
    EXPECT_TRUE(effects.log.empty());
    clock.SleepUntilUs(10000);  // a command at the deadline runs before the program goes on
    EXPECT_EQ(effects.log, (std::vector<std::string>{"10 key 38", "10 snap a.png"}));
    clock.SleepUntilUs(40000);
    EXPECT_EQ(effects.log.back(), "25 key 40");
    EXPECT_EQ(clock.NowUs(), 40000u);
}

TEST_F(RunnerTest, WaitingForAKeyJumpsToTheNextKeyRunningWhatComesBefore) {
    Load("at 100 snap a.png\nat 2000 key SPACE\nat 3000 event\n");
    WaitForKey();
    EXPECT_EQ(effects.log, (std::vector<std::string>{"100 snap a.png", "2000 key 32"}));
    EXPECT_EQ(clock.NowUs(), 2000000u);
    WaitForKey();
    EXPECT_EQ(effects.log.back(), "3000 event");
}

TEST_F(RunnerTest, WaitingWithNoKeyLeftEndsTheRunCleanly) {
    Load("at 5 key a\nat 50 snap last.png\n");
    WaitForKey();
    EXPECT_EQ(EndStatusOf([this] { WaitForKey(); }), StatusDone);
    EXPECT_EQ(effects.log.back(), "50 end 0");  // the snapshot still came first
}

TEST_F(RunnerTest, EndCommandEndsAtItsTime) {
    Load("at 30 end\nat 40 key a\n");
    EXPECT_EQ(EndStatusOf([this] { clock.SleepUntilUs(100000); }), StatusDone);
    EXPECT_EQ(effects.log, (std::vector<std::string>{"30 end 0"}));
}

TEST_F(RunnerTest, TimeLimitEndsLongWaitsAndKeyWaits) {
    Load("at 100 key a\nat 150 snap limit.png\nat 200 key b\n", 150);  // commands at the limit still run
    EXPECT_EQ(EndStatusOf([this] { clock.SleepUntilUs(1000000); }), StatusDone);
    EXPECT_EQ(effects.log, (std::vector<std::string>{"100 key 65", "150 snap limit.png", "150 end 0"}));

    Load("at 100 key a\nat 200 key b\n", 150);
    effects.log.clear();
    WaitForKey();
    EXPECT_EQ(EndStatusOf([this] { WaitForKey(); }), StatusDone);
    EXPECT_EQ(effects.log.back(), "150 end 0");
}

TEST_F(RunnerTest, FailedSnapshotEndsWithTheScriptFaultStatus) {
    Load("at 10 snap unwritable.png\n");
    testing::internal::CaptureStderr();
    int status = EndStatusOf([this] { clock.SleepUntilUs(20000); });
    std::string message = testing::internal::GetCapturedStderr();
    EXPECT_EQ(status, StatusScriptFault);
    EXPECT_NE(message.find("script line 1: cannot write snapshot"), std::string::npos);
}

}  // namespace
