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
    bool Snap(const std::string& path, std::string& why) override {
        Log("snap " + path);
        why = "Permission denied";
        return path != "unwritable.png";
    }
    bool TraceTo(const std::string& path, std::string& why) override {
        Log("trace " + path);
        tracePath = path;
        why = "Permission denied";
        return path != "unopenable.txt";
    }
    // "full.txt" fails its writes as soon as anything is drawn, "full-at-close.txt" only at the close.
    bool TraceWritesOk() override { return !(tracePath == "full.txt" && drawn); }
    bool TraceOff() override {
        Log("trace off");
        bool ok = !(tracePath == "full-at-close.txt" || (tracePath == "full.txt" && drawn));
        tracePath.clear();
        return ok;
    }
    void EndRun(int status) override {
        Log("end " + std::to_string(status));
        throw Ended{status};
    }

    std::vector<std::string> log;
    int queued = 0;
    bool drawn = false;
    std::string tracePath;

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

// A trace file that cannot be written is named once, with the line that
// opened it, and ends the run with the script fault status: at the first wait
// after a failed write, or when the file is closed.
TEST_F(RunnerTest, TraceWriteFailuresEndWithTheScriptFaultStatus) {
    struct Case {
        const char* script;
        const char* log;      // the last effect
        const char* message;  // all of standard error
    };
    const Case cases[] = {
        {"at 0 trace full.txt\nat 100 key a\n", "0 end 2",  // at the first wait
         "kyr-headless: script line 1: cannot write trace file \"full.txt\"\n"},
        {"at 0 key a\nat 0 trace full-at-close.txt\nat 30 end\n", "30 end 2",
         "kyr-headless: script line 2: cannot write trace file \"full-at-close.txt\"\n"},
        {"at 0 trace full-at-close.txt\nat 5 trace other.txt\n", "5 end 2",
         "kyr-headless: script line 1: cannot write trace file \"full-at-close.txt\"\n"},
        {"at 0 trace full-at-close.txt\nat 5 trace off\n", "5 end 2",
         "kyr-headless: script line 1: cannot write trace file \"full-at-close.txt\"\n"},
        {"at 0 trace unopenable.txt\n", "0 end 2",
         "kyr-headless: script line 1: cannot open trace file \"unopenable.txt\": Permission denied\n"},
    };
    for (const Case& c : cases) {
        VirtualClock caseClock{CivilTime{}};
        RecordingEffects caseEffects{caseClock};
        ScriptRunner caseRunner(caseClock, ParseScriptText(c.script).commands, DefaultUntilMs, caseEffects);
        caseClock.SetListener([&caseRunner](uint64_t deadline) { caseRunner.RunUntil(deadline); });
        testing::internal::CaptureStderr();
        int status = EndStatusOf([&] {
            caseRunner.RunStartCommands();
            caseEffects.drawn = true;  // the program draws, then waits
            caseClock.SleepUntilUs(10000);
            caseClock.SleepUntilUs(100000);
        });
        std::string message = testing::internal::GetCapturedStderr();
        EXPECT_EQ(status, StatusScriptFault) << c.script;
        EXPECT_EQ(message, c.message) << c.script;
        ASSERT_FALSE(caseEffects.log.empty());
        EXPECT_EQ(caseEffects.log.back(), c.log) << c.script;
    }
}

// The program's own end checks the trace too; a sound trace passes.
TEST_F(RunnerTest, ProgramEndChecksTheTrace) {
    Load("at 0 trace full-at-close.txt\n");
    runner->RunStartCommands();
    testing::internal::CaptureStderr();
    EXPECT_FALSE(runner->FinishTrace());
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "kyr-headless: script line 1: cannot write trace file \"full-at-close.txt\"\n");

    Load("at 0 trace good.txt\n");
    runner->RunStartCommands();
    EXPECT_TRUE(runner->FinishTrace());
    EXPECT_EQ(effects.log.back(), "0 trace off");
}

}  // namespace
