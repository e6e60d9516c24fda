// A real session replayed exactly: kyr under Xvfb in a pseudo-terminal,
// recording and tracing while keys are typed into its terminal and its
// window at uneven times (the menu, a game steered and fired, the story
// screen, the demo, then the window closed). kyr-headless replays the file
// twice and kyr replays it in a window: each trace equals the real run's,
// request for request. A session ended by Ctrl+C in the middle of a game
// replays to its last poll. Both runs take real time (the intro alone half
// a minute), so they are the only two; each has its own X server and they
// may run side by side. Skipped without Xvfb and xdotool.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>

#include "tests/support/KyrRun.h"
#include "tests/support/TempFiles.h"
#include "tests/support/TraceCompare.h"
#include "tests/support/XvfbServer.h"

namespace {

using namespace std::chrono_literals;
using testsupport::KyrRun;
using testsupport::LastLine;
using testsupport::ReadFile;
using testsupport::TraceDifference;
using testsupport::WaitUntil;

constexpr const char* kRecording = "session.kyrrec";

// The terminal's bytes for the keys the game and the menu take.
constexpr const char* kUp = "\x1b[A";
constexpr const char* kDown = "\x1b[B";

// The run's trace (flushed at each of its waits) shows `text`.
bool WaitForTrace(KyrRun& run, const std::string& text, std::chrono::seconds limit) {
    return WaitUntil([&] { return run.Ended() || ReadFile(run.Folder() + "/real.trace").find(text) != std::string::npos; },
                     limit, 100ms) && !run.Ended();
}

bool StartedToTheMenu(KyrRun& run) {
    if (!run.Start(std::string("--record ") + kRecording + " --trace real.trace")) return false;
    if (run.FindWindow(60s) == 0) return false;
    run.Type("ab");  // typed during the intro: they wait for the menu, which ignores them
    return WaitForTrace(run, "**9**     Close", 180s);
}

// From the start to the first frames of a level-1 game, past its announcement.
bool StartedALevelOneGame(KyrRun& run) {
    if (!StartedToTheMenu(run)) return false;
    run.Type(std::string(kDown) + kDown + " ");  // entry 3: a game at level 1
    if (!WaitForTrace(run, "FASTEN YOUR SEATBELT", 30s)) return false;
    std::this_thread::sleep_for(2s);              // the announcement's pause
    return true;
}

// Steering and firing at uneven times, by turns into the terminal and into
// the window: about 12 keys a burst, `bursts` bursts.
void PlayTheGame(KyrRun& run, int bursts) {
    static const char* terminal[] = {"\x1b[A", "\x1b[B", "\x1b[C", "\x1b[D", " ", " "};
    static const char* window[] = {"Up", "Down", "Left", "Right", "space", "space", "shift"};
    uint32_t r = 2026;
    auto next = [&r](uint32_t n) { r = r * 1103515245u + 12345u; return (r >> 16) % n; };
    const std::string id = std::to_string(run.Window());
    for (int b = 0; b < bursts; ++b) {
        const int count = 6 + int(next(12));
        if (b % 2 == 0) {
            for (int k = 0; k < count; ++k) {
                run.Type(terminal[next(6)]);
                std::this_thread::sleep_for(std::chrono::milliseconds(next(60)));
            }
        } else {
            std::string keys;
            for (int k = 0; k < count; ++k) keys += std::string(" ") + window[next(7)];
            std::system(run.X("timeout 20 xdotool windowfocus " + id + " key --delay " + std::to_string(5 + next(80)) +
                              keys + " >/dev/null 2>&1").c_str());
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20 + next(400)));
    }
}

struct Replayed {
    int status = -1;
    std::string trace, err;
};

// kyr-headless --replay, with a trace from the start, in a folder of its own.
Replayed ReplayHeadless(const std::string& recording) {
    const std::string dir = testsupport::FreshFolder("kyr-replay-e2e-");
    std::ofstream(dir + "/script.txt") << "at 0 trace trace.txt\n";
    const int raw = std::system(("cd '" + dir + "' && '" KYR_HEADLESS_PATH "' --replay '" + recording +
                                 "' --script script.txt >out.txt 2>err.txt").c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(dir + "/trace.txt"), ReadFile(dir + "/err.txt")};
}

// kyr --replay in a window on `display`, tracing; no terminal, so no keys.
Replayed ReplayInWindow(const std::string& display, const std::string& recording) {
    const std::string dir = testsupport::FreshFolder("kyr-replay-window-");
    const int raw = std::system(("cd '" + dir + "' && DISPLAY=" + display + " LSAN_OPTIONS=suppressions=" KYR_LSAN_SUPPRESSIONS
                                 ":print_suppressions=0 timeout 300 '" KYR_PATH "' --replay '" + recording +
                                 "' --trace trace.txt </dev/null >out.txt 2>err.txt").c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(dir + "/trace.txt"), ReadFile(dir + "/err.txt")};
}

TEST(ReplayEndToEndTest, ARealSessionReplaysToTheSameTraceHeadlessAndInAWindow) {
    SKIP_WITHOUT("Xvfb", "xdotool", "stty");
    testsupport::XvfbServer server;
    ASSERT_TRUE(server.Start("1100x800x24"));
    KyrRun run(server.Display());
    ASSERT_TRUE(StartedALevelOneGame(run)) << ReadFile(run.Folder() + "/err.txt");
    PlayTheGame(run, 20);
    run.Type("q");                                // back to the menu, entry 3 highlighted
    std::this_thread::sleep_for(1s);
    run.Type(std::string(kUp) + " ");             // entry 2: the story
    ASSERT_TRUE(WaitForTrace(run, "It began in 2999.", 30s));
    std::system(run.X("timeout 20 xdotool windowfocus " + std::to_string(run.Window()) + " key x >/dev/null 2>&1").c_str());
    std::this_thread::sleep_for(1s);
    run.Type(std::string(kUp) + kUp + kUp + " ");  // 2, 1, 9, 8: the demo
    std::this_thread::sleep_for(4s);
    ASSERT_TRUE(testsupport::SendClientMessage(server.Display(), run.Window(), false));
    const KyrRun::Result real = run.Finish(60s);
    ASSERT_TRUE(real.ended);
    EXPECT_EQ(real.status, "0\n") << real.err;
    const std::string recording = run.Folder() + "/" + kRecording;
    const std::string file = ReadFile(recording);
    EXPECT_EQ(LastLine(file).rfind("end closed 0 poll ", 0), 0u) << LastLine(file);
    EXPECT_GT(testsupport::LineCount(file), 200u) << "too few keys were recorded";
    const std::string realTrace = ReadFile(run.Folder() + "/real.trace");

    // The window's replay takes real time: it runs while the headless ones do.
    Replayed inWindow;
    std::thread windowReplay([&] { inWindow = ReplayInWindow(server.Display(), recording); });
    for (int round = 1; round <= 2; ++round) {
        const Replayed headless = ReplayHeadless(recording);
        EXPECT_EQ(headless.status, 0) << headless.err;
        EXPECT_EQ(TraceDifference(headless.trace, realTrace), "") << "headless round " << round;
    }
    windowReplay.join();
    EXPECT_EQ(inWindow.status, 0) << inWindow.err;
    EXPECT_EQ(TraceDifference(inWindow.trace, realTrace), "") << "in a window";
}

// Ctrl+C ends the run in the middle of its frame; the trace holds what the
// run drew up to its last wait (and perhaps part of the frame after), and
// the replay draws the same, up to the first wait after its last poll.
TEST(ReplayEndToEndTest, ASessionEndedByCtrlCReplaysToItsLastPoll) {
    SKIP_WITHOUT("Xvfb", "xdotool", "stty");
    testsupport::XvfbServer server;
    ASSERT_TRUE(server.Start("1100x800x24"));
    KyrRun run(server.Display());
    ASSERT_TRUE(StartedALevelOneGame(run)) << ReadFile(run.Folder() + "/err.txt");
    PlayTheGame(run, 4);
    run.Type("\x03");
    const KyrRun::Result real = run.Finish(30s);
    ASSERT_TRUE(real.ended);  // the shell around it dies of the interrupt too: no status to read
    const std::string file = ReadFile(run.Folder() + "/" + kRecording);
    EXPECT_EQ(LastLine(file).rfind("end signal 2 poll ", 0), 0u) << LastLine(file);

    const std::string realTrace = ReadFile(run.Folder() + "/real.trace");
    const Replayed headless = ReplayHeadless(run.Folder() + "/" + kRecording);
    EXPECT_EQ(headless.status, 0) << headless.err;
    EXPECT_NE(headless.err.find("the replay reached the end of the recording"), std::string::npos) << headless.err;
    EXPECT_NE(realTrace.find("FASTEN YOUR SEATBELT"), std::string::npos);
    EXPECT_EQ(TraceDifference(realTrace, headless.trace, true), "") << "the real trace is not where the replay's begins";
}

}  // namespace
