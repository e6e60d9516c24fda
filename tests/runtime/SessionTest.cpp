// The one way out of a run: however it ends, the trace and the recording are
// checked (flush and close included), a run that would end well ends with 2
// when either was not kept, and one line names the file and the reason. A
// recording replaces its file only when the run ends; a run that never
// started leaves it alone. Each run is a child process: a run's files and
// signal handlers belong to the process.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

#include "platform/console/Waits.h"
#include "platform/graph/Graph.h"
#include "platform/graph/GraphFrames.h"
#include "platform/runtime/Session.h"
#include "tests/support/OffscreenGraph.h"
#include "tests/support/TempFiles.h"

namespace {

using testing::ExitedWithCode;
using testing::KilledBySignal;

// How the body of the next run ends, after drawing a line.
enum class Ending { Returns, Closed, Stopped, TimeLimit, Signal, NeverStarts };
Ending ending = Ending::Returns;
int endingSignal = SIGTERM;

int Body() {
    if (ending == Ending::NeverStarts) return 1;   // as when the window cannot open
    if (!testsupport::OpenOffscreenGraph()) return 99;
    Waits::SetFrameHooks({Graph::PublishFrame, Graph::RequestsPosted});
    Graph::Line(0, 0, 100, 100, 15);
    switch (ending) {
    case Ending::Closed: Waits::RequestEnd(Waits::EndCause::Closed, 0); break;
    case Ending::Stopped: Waits::RequestEnd(Waits::EndCause::Stopped, 0); break;
    case Ending::TimeLimit: Waits::RequestEnd(Waits::EndCause::TimeLimit, 0); break;
    case Ending::Signal: raise(endingSignal); break;
    default: return 0;
    }
    Waits::BeforeWait();   // where an end asked for takes effect
    return 98;
}

// Runs one session in this process; the status it would end with.
int RunOnce(const Runtime::SessionFiles& files, Ending how) {
    ending = how;
    Runtime::Session session;
    if (!session.Open(files)) return 100;
    return session.Run(Body);
}

Runtime::SessionFiles Files(const std::string& trace, const std::string& record) {
    Runtime::SessionFiles files;
    files.program = "kyr-test";
    files.version = "1.0.0";
    files.tracePath = trace;
    files.recordPath = record;
    return files;
}

class SessionTest : public testing::Test {
protected:
    void SetUp() override {
        GTEST_FLAG_SET(death_test_style, "fast");   // the child forks from here and shares the folder
        dir_ = testsupport::FreshFolder("session-");
        ASSERT_FALSE(dir_.empty());
    }
    std::string dir_;
};

TEST_F(SessionTest, EveryEndChecksTheTraceAndTheRecording) {
    const char* traceLost = "kyr-test: cannot write trace file \"/dev/full\": No space left on device";
    const char* recordingLost = "kyr-test: cannot write recording \"/dev/full\": No space left on device";
    for (Ending how : {Ending::Returns, Ending::Closed, Ending::Stopped, Ending::TimeLimit}) {
        SCOPED_TRACE(int(how));
        EXPECT_EXIT(std::exit(RunOnce(Files("/dev/full", ""), how)), ExitedWithCode(2), traceLost);
        EXPECT_EXIT(std::exit(RunOnce(Files("", "/dev/full"), how)), ExitedWithCode(2), recordingLost);
        EXPECT_EXIT(std::exit(RunOnce(Files(dir_ + "/trace.txt", "/dev/null"), how)), ExitedWithCode(0), "");
    }
    // A run ended by a signal still says so, then ends by that signal, as a
    // shell expects: Ctrl+C gives it 130, SIGTERM 143.
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
        endingSignal = sig;
        EXPECT_EXIT(std::exit(RunOnce(Files("/dev/full", ""), Ending::Signal)), KilledBySignal(sig), traceLost);
    }
}

// The recording goes to FILE.PID.partial and replaces FILE at the end.
TEST_F(SessionTest, ARecordingReplacesItsFileOnlyWhenTheRunEnds) {
    const std::string precious = dir_ + "/precious.kyrrec";
    std::ofstream(precious) << "precious\n";
    EXPECT_EXIT(std::exit(RunOnce(Files("", precious), Ending::NeverStarts)), ExitedWithCode(1),
                "nothing was recorded; \"[^\"]*\"(\\.\\.\\.)? is left as it was");  // a long name is cut
    EXPECT_EQ(testsupport::ReadFile(precious), "precious\n");

    // While the run goes on, the file is untouched and the partial one grows.
    EXPECT_EXIT(
        {
            ending = Ending::Returns;
            Runtime::Session session;
            if (!session.Open(Files("", precious))) std::exit(100);
            const std::string partial = precious + "." + std::to_string(getpid()) + ".partial";
            const bool asExpected = testsupport::ReadFile(precious) == "precious\n" &&
                                    testsupport::ReadFile(partial).rfind("kyr-recording 1\n", 0) == 0;
            std::exit(asExpected ? session.Run(Body) : 101);
        },
        ExitedWithCode(0), "");
    EXPECT_EQ(testsupport::ReadFile(precious).rfind("kyr-recording 1\nprogram kyr-test 1.0.0\n", 0), 0u);
    EXPECT_NE(testsupport::ReadFile(precious).find("\nend exit 0 poll 0 requests "), std::string::npos);
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir_)) ++files;
    EXPECT_EQ(files, 1u) << "a partial recording was left behind";
}

TEST_F(SessionTest, TheRecordingBeingReplayedIsNeverWrittenOver) {
    const std::string recording = dir_ + "/played.kyrrec";
    const std::string text = "kyr-recording 1\nprogram kyr-test 1.0.0\noptions\nend exit 0 poll 0 requests 0\n";
    std::ofstream(recording) << text;
    ASSERT_EQ(symlink(recording.c_str(), (dir_ + "/link").c_str()), 0);
    for (const auto& [trace, record] : {std::pair{recording, std::string()}, std::pair{std::string(), recording},
                                        std::pair{std::string(), dir_ + "/link"}}) {
        Runtime::SessionFiles files = Files(trace, record);
        files.replayPath = recording;
        EXPECT_EXIT(std::exit(RunOnce(files, Ending::Returns)), ExitedWithCode(100),
                    "it is the recording being replayed");
    }
    EXPECT_EQ(testsupport::ReadFile(recording), text);
}

}  // namespace
