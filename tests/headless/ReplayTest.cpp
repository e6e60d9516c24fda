// Recorded sessions replayed by kyr-headless: a scripted session (menu, a
// game with steering and firing, the story screen, the demo, stopped by the
// script) replays twice to its very trace; the replay's script may snap,
// trace and end but not type; a replay that needs more than its file ends
// with status 3; bad files are refused with status 2 and one line naming
// the fault; the committed level-1 game replays to its recorded end.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>

#include "platform/console/QuotedText.h"
#include "tests/headless/HeadlessRun.h"
#include "tests/support/TraceCompare.h"

namespace {

using HeadlessRun::Result;
using HeadlessRun::RunHeadless;
using HeadlessRun::RunHeadlessWith;
using testsupport::LastLine;
using testsupport::ReadFile;
using testsupport::TraceDifference;

// A file name as the programs quote it in a message (long names are cut).
std::string Quoted(const std::string& path) { return IO::QuotedText(path, '"'); }

std::string Write(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

struct Recorded {
    Result run;
    std::string recording, trace;
};

// Menu, a level-1 game steered and fired at uneven times, the story screen,
// then the demo, stopped by the script's end in the middle of it.
std::string SessionScript() {
    std::string s = "at 0 trace trace.txt\nat 1000 key x\nat 30000 key DOWN\nat 30010 key DOWN\nat 30020 key SPACE\n";
    const char* steering[] = {"LEFT", "SPACE", "UP", "RIGHT", "SPACE", "DOWN", "SPACE", "SHIFT"};
    uint32_t t = 33000, r = 12345;
    for (int k = 0; k < 120; ++k) {
        r = r * 1103515245u + 12345u;
        t += 5 + (r >> 16) % 90;  // uneven: 5 to 94 ms apart
        s += "at " + std::to_string(t) + " key " + steering[(r >> 8) % 8] + "\n";
    }
    s += "at 45000 event FOCUS\nat 45010 key q\n";                        // back to the menu (entry 3)
    s += "at 45500 key UP\nat 45510 key SPACE\nat 47000 key x\n";          // the story, then the menu
    s += "at 47500 key UP\nat 47510 key UP\nat 47520 key UP\nat 47530 key SPACE\n";  // entry 8: the demo
    return s + "at 50000 end\n";
}


Recorded RecordSession() {
    const std::string dir = testsupport::FreshFolder("kyr-replay-");
    Recorded r;
    r.recording = dir + "/session.kyrrec";
    r.run = RunHeadlessWith("--record '" + r.recording + "' --script '" + Write(dir + "/s.txt", SessionScript()) + "'");
    r.trace = ReadFile(r.run.dir + "/trace.txt");
    return r;
}

// Replays `recording` with a script of `commands` (trace.txt from the start).
Result Replay(const std::string& recording, const std::string& commands = "") {
    const std::string dir = testsupport::FreshFolder("kyr-replay-script-");
    const std::string script = Write(dir + "/s.txt", "at 0 trace trace.txt\n" + commands);
    return RunHeadlessWith("--replay '" + recording + "' --script '" + script + "'");
}

void ExpectScriptMaySnapTraceAndEndButNotType(const Recorded& recorded) {
    const Result ended = Replay(recorded.recording, "at 20000 snap shot.png\nat 31000 end\n");
    EXPECT_EQ(ended.status, 0) << ended.err;
    EXPECT_EQ(ended.err, "");
    struct stat shot {};
    EXPECT_EQ(stat((ended.dir + "/shot.png").c_str(), &shot), 0);
    const std::string part = ReadFile(ended.dir + "/trace.txt");
    EXPECT_GT(part.size(), 0u);
    EXPECT_EQ(TraceDifference(part, recorded.trace, true), "") << "the early end is not a prefix";

    for (const char* typing : {"at 100 key UP\n", "at 100 event\n"}) {
        const Result refused = Replay(recorded.recording, typing);
        EXPECT_EQ(refused.status, 2);
        EXPECT_EQ(refused.err, std::string("kyr-headless: script line 2: ") + (typing[7] == 'k' ? "key" : "event") +
                                   " cannot be used with --replay (the recording gives the keys)\n");
    }
}

// Without its end line (a run killed outright) the replay stops where the
// file stops; with its clock readings gone, at the first reading.
void ExpectMoreThanTheFileHoldsEndsWithStatus3(const Recorded& recorded) {
    std::string file = ReadFile(recorded.recording);
    const std::string end = LastLine(file) + "\n";
    std::string cut = file.substr(0, file.size() - end.size());
    const std::string lastPoll = LastLine(cut).substr(5, LastLine(cut).find(' ', 5) - 5);
    const Result noEnd = Replay(Write(recorded.recording + ".cut", cut));
    EXPECT_EQ(noEnd.status, 3);
    EXPECT_EQ(noEnd.err, "kyr-headless: the recording ends before poll " + std::to_string(std::stoull(lastPoll) + 1) + "\n");

    std::string clockless;
    std::istringstream lines(file);
    for (std::string line; std::getline(lines, line);)
        if (line.rfind("clock ", 0) != 0) clockless += line + "\n";
    const Result noClock = Replay(Write(recorded.recording + ".noclock", clockless));
    EXPECT_EQ(noClock.status, 3);
    EXPECT_EQ(noClock.err, "kyr-headless: the recording ends before clock reading 1\n");
}

// One recording (it takes a while) serves every check of the replays.
TEST(ReplayTest, ARecordedSessionReplaysTwiceToTheSameTrace) {
    const Recorded recorded = RecordSession();
    ASSERT_EQ(recorded.run.status, 0) << recorded.run.err;
    const std::string file = ReadFile(recorded.recording);
    EXPECT_EQ(file.rfind("kyr-recording 1\nprogram kyr-headless ", 0), 0u) << file.substr(0, 80);
    EXPECT_EQ(LastLine(file).rfind("end stopped 0 poll ", 0), 0u) << LastLine(file);
    EXPECT_NE(file.find(" event 2  # focus"), std::string::npos);
    EXPECT_NE(recorded.trace.find("\"It began in 2999.\""), std::string::npos) << "the story was not shown";

    std::string first;
    for (int round = 1; round <= 2; ++round) {
        const Result replay = Replay(recorded.recording);
        EXPECT_EQ(replay.status, 0) << replay.err;
        EXPECT_NE(replay.err.find("the replay reached the end of the recording"), std::string::npos) << replay.err;
        const std::string trace = ReadFile(replay.dir + "/trace.txt");
        EXPECT_EQ(TraceDifference(trace, recorded.trace), "") << "round " << round;
        if (round == 1) first = trace;
        else EXPECT_TRUE(trace == first);
    }
    ExpectScriptMaySnapTraceAndEndButNotType(recorded);
    ExpectMoreThanTheFileHoldsEndsWithStatus3(recorded);
}

TEST(ReplayTest, BadRecordingsAreRefusedWithTheLineAndTheFault) {
    const std::string head = "kyr-recording 1\nprogram kyr 1.0.0\noptions window=sdl scale=1\n";
    const std::string key = " key 1 1 40 80 0 256\n";
    const struct { std::string text, fault; } cases[] = {
        {"", "line 1: not a kyr recording (the file is empty)"},
        {"kyr-replay 1\n", "line 1: not a kyr recording (the first line is not \"kyr-recording 1\")"},
        {"kyr-recording 2\nprogram kyr 1.0.0\noptions\n", "line 1: unknown version of the kyr-recording format (this program reads version 1)"},
        {"kyr-recording 1\nprogram kyr 1.0.0\n", "line 3: the header ends early"},
        {"kyr-recording 1\nprogram tetris 1.0\noptions\n", "line 2: unknown program \"tetris\""},
        {"kyr-recording 1\nprogram kyr 1.0.0\noptions scale=9\n", "line 3: unknown option \"scale=9\""},
        {head + "clock 2026 13 1 0 0 0 0 0 0\n", "line 4: month 13 out of range (1 to 12)"},
        {head + "clock 2026 1 1 0 0 0 0 -781 0\n", "line 4: zone -781 out of range (-780 to 720)"},
        {head + "clock 2026 1 1 0 0 0 0 0\n", "line 4: missing summer-time flag"},
        {head + "poll 5 key 1 1 40 80 256 0\n", "line 4: character 256 out of range (0 to 255)"},
        {head + "poll 5 key 1 1 40 80 0 512\n", "line 4: control-key state 512 out of range (0 to 511)"},
        {head + "poll 5 key 2 1 40 80 0 0\n", "line 4: key-down flag 2 out of range (0 to 1)"},
        {head + "poll 5 key 1 1 40 x 0 0\n", "line 4: bad scan code \"x\""},
        {head + "poll 5 event 5\n", "line 4: event kind 5 out of range (0 to 4)"},
        {head + "poll 5 mouse 1\n", "line 4: unknown event kind \"mouse\" (want key or event)"},
        {head + "poll 0" + key, "line 4: poll number 0 out of range (1 to 9007199254740992)"},
        {head + "poll 7" + key + "\npoll 6" + key, "line 6: poll 6 comes after poll 7 (polls out of order)"},
        {head + "poll 7" + key + "end closed 0 poll 6 requests 9\n", "line 5: end at poll 6 comes after poll 7 (polls out of order)"},
        {head + "end closed 0 poll 6 requests 9\nclock 2026 1 1 0 0 0 0 0 0\n", "line 5: a line after the end line"},
        {head + "end quit 0 poll 6 requests 9\n", "line 4: unknown end \"quit\" (want exit, closed, stopped or signal)"},
        {head + "poll 7" + key + "extra\n", "line 5: unknown line \"extra\" (want clock, poll or end)"},
        {head + "poll 7 key 1 1 40 80 0 256 9\n", "line 4: unexpected \"9\""},
        {head + "poll 7 key 1 1 40 80 0 256", "line 4: cut off (the last line has no line end)"},
    };
    const std::string dir = testsupport::FreshFolder("kyr-replay-bad-");
    for (const auto& c : cases) {
        const std::string path = Write(dir + "/bad.kyrrec", c.text);
        const Result r = RunHeadlessWith("--replay '" + path + "'");
        EXPECT_EQ(r.status, 2) << c.fault;
        EXPECT_EQ(r.err, "kyr-headless: recording " + Quoted(path) + " " + c.fault + "\n");
        EXPECT_EQ(r.out, "") << "the program started";
    }
    // The real program reads the same way, before it opens a window.
    const std::string path = Write(dir + "/bad.kyrrec", cases[6].text);
    const int raw = std::system(("'" KYR_PATH "' --replay '" + path + "' >" + dir + "/out.txt 2>" + dir + "/err.txt").c_str());
    EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 2);
    EXPECT_EQ(ReadFile(dir + "/err.txt"), "kyr: recording " + Quoted(path) + " " + cases[6].fault + "\n");
    const Result missing = RunHeadlessWith("--replay '" + dir + "/none.kyrrec'");
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, "kyr-headless: cannot read recording " + Quoted(dir + "/none.kyrrec") + ": No such file or directory\n");
}

// docs/recordings/level1.kyrrec: a whole level-1 game, recorded by
// kyr-headless, then back to the menu and Close: the replay ends by itself.
TEST(ReplayTest, TheCommittedLevelOneGameReplaysToItsRecordedEnd) {
    const std::string file = ReadFile(KYR_LEVEL1_RECORDING);
    ASSERT_EQ(LastLine(file).rfind("end exit 0 poll ", 0), 0u) << LastLine(file);
    // Level 2 is announced about 133 s into the run (the replay's virtual
    // time follows the recording's here: the menu and the game never wait
    // for a key); the trace starts a little before.
    const Result replay = Replay(KYR_LEVEL1_RECORDING, "at 0 trace off\nat 125000 trace trace.txt\n");
    EXPECT_EQ(replay.status, 0);
    // The program ended by itself: the player said nothing of an end (a
    // version warning may stand there once the program's version moves on).
    EXPECT_EQ(replay.err.find("the replay reached"), std::string::npos) << replay.err;
    EXPECT_EQ(replay.err.find("the recording ends"), std::string::npos) << replay.err;
    const std::string trace = ReadFile(replay.dir + "/trace.txt");
    EXPECT_NE(trace.find("text 499 385 3 \"2\""), std::string::npos) << "level 2 was not announced";
}

// A recording that cannot be written (a full disk) leaves the game running,
// says so once, and the run does not end as a success.
TEST(ReplayTest, ARecordingThatCannotBeWrittenEndsWithStatusTwo) {
    const Result r = RunHeadless("at 31000 end\n", "--record /dev/full");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "kyr-headless: cannot write recording \"/dev/full\": No space left on device\n");
}

// An endless file is read only up to the size limit, then refused.
TEST(ReplayTest, AnEndlessRecordingIsRefusedAtTheSizeLimit) {
    const Result r = RunHeadlessWith("--replay /dev/zero");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "kyr-headless: cannot read recording \"/dev/zero\" (larger than 256 MiB)\n");
}

}  // namespace
