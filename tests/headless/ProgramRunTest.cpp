// The whole program through kyr-headless: the menu driven by scripted keys
// and checked on its drawing trace, the story and controls screens, Close,
// and the runner's own ways of ending.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "tests/headless/HeadlessRun.h"
#include "tests/support/TraceRecorder.h"

namespace {

using HeadlessRun::Result;
using HeadlessRun::RunHeadless;
using testsupport::TextsOfTrace;
using testsupport::TraceText;

const unsigned Normal = 5;
const unsigned Highlight = 3;
const unsigned Yellow = 14;

std::string Blanks(int n) { return std::string(n, ' '); }

const std::vector<std::string>& EntryLines() {
    static const std::vector<std::string> lines = {
        "**1**     Intro",
        "**2**     The Story",
        "**3**     Play KYR",
        "**4**     Controls",
        "**5**     Credits",
        "**6**     Level" + Blanks(63) + "Van 1 tot 8" + Blanks(19) + "( > : Enemy is better)",
        "**7**     Speed of the Flying Objects" + Blanks(27) + "Van 0 tot 25" + Blanks(17) + "(0 is normal)",
        "**8**     Demo van de 3D-engine",
        "**9**     Close",
    };
    return lines;
}

// One redraw of the nine entries and the two values, as the trace shows it.
struct MenuPicture {
    unsigned highlighted = 0;
    std::string level, speed;
    unsigned levelColour = 0, speedColour = 0;
};

bool operator==(const MenuPicture& a, const MenuPicture& b) {
    return a.highlighted == b.highlighted && a.level == b.level && a.speed == b.speed &&
           a.levelColour == b.levelColour && a.speedColour == b.speedColour;
}

std::ostream& operator<<(std::ostream& os, const MenuPicture& p) {
    return os << "{entry " << p.highlighted << ", level \"" << p.level << "\"/" << p.levelColour << ", speed \""
              << p.speed << "\"/" << p.speedColour << "}";
}

MenuPicture Picture(unsigned d, const std::string& level, const std::string& speed) {
    return {d, level, speed, d == 6 ? Highlight : Normal, d == 7 ? Highlight : Normal};
}

// Reads every redraw of the entries; a redraw is entry 1 .. entry 9 with the
// level after entry 6 and the speed after entry 7, exactly in that order.
std::vector<MenuPicture> MenuPictures(const std::vector<TraceText>& lines) {
    std::vector<MenuPicture> pictures;
    const auto& entries = EntryLines();
    for (std::size_t i = 0; i + 11 <= lines.size(); ++i) {
        if (lines[i].x != 100 || lines[i].y != 200 || lines[i].text != entries[0]) continue;
        MenuPicture p;
        std::size_t k = i;
        bool whole = true;
        for (unsigned e = 1; e <= 9 && whole; ++e, ++k) {
            const TraceText& t = lines[k];
            whole = t.x == 100 && t.y == 180 + 20 * e && t.text == entries[e - 1] &&
                    (t.colour == Normal || t.colour == Highlight);
            if (whole && t.colour == Highlight) p.highlighted = p.highlighted == 0 ? e : 99;
            if (whole && (e == 6 || e == 7)) {
                const TraceText& v = lines[++k];
                whole = v.x == 350 && v.y == t.y;
                (e == 6 ? p.level : p.speed) = v.text;
                (e == 6 ? p.levelColour : p.speedColour) = v.colour;
            }
        }
        EXPECT_TRUE(whole) << "broken redraw of the entries at text line " << i;
        if (!whole) break;
        pictures.push_back(p);
        i = k - 1;
    }
    return pictures;
}

// Where `expected` stands in `lines` as one unbroken run; -1 if nowhere.
long FindRun(const std::vector<TraceText>& lines, const std::vector<TraceText>& expected) {
    for (std::size_t i = 0; i + expected.size() <= lines.size(); ++i) {
        bool same = true;
        for (std::size_t k = 0; k < expected.size() && same; ++k) {
            const TraceText &a = lines[i + k], &b = expected[k];
            same = a.x == b.x && a.y == b.y && a.colour == b.colour && a.text == b.text;
        }
        if (same) return long(i);
    }
    return -1;
}

const std::vector<TraceText> HelpLines = {
    {100, 500, Normal, "Use the arrowkeys to navigate through the menu (UP en DOWN)"},
    {100, 520, Normal, "Use the arrowkeys to change the values (LEFT en RIGHT)"},
    {100, 540, Normal, "To ENTER press SPACE"},
    {100, 600, Normal, "WARNING: Just press the keys if it is necessary"},
};

const std::vector<TraceText> StoryLines = {
    {90, 100, Yellow, "It began in 2999."},
    {90, 117, Yellow, "The end of the Millenium"},
    {90, 134, Yellow, "And we will remember it"},
    {90, 151, Yellow, "A group of aliens began to destroy earth."},
    {90, 168, Yellow, "Until now no counterstrike could block them."},
    {90, 185, Yellow, "Your time has come!"},
    {90, 202, Yellow, "Winning is your target"},
    {90, 219, Yellow, "Lossing is ..."},
    {90, 600, Yellow, "Press any key"},
};

const std::vector<TraceText> ControlsLines = {
    {90, 100, Yellow, "ARROWKEYS:"},
    {120, 147, Yellow, "DOWN : Climb"},
    {120, 164, Yellow, "UP : Descend"},
    {120, 181, Yellow, "LEFT : Turn Left"},
    {120, 198, Yellow, "RIGHT : Turn Right"},
    {90, 245, Yellow, "OTHER:"},
    {120, 292, Yellow, "SPACE : Shoot"},
    {120, 309, Yellow, "Q : Back To Menu"},
    {90, 600, Yellow, "Press any key"},
};

// Keys typed at 1 s, while the intro still plays: they wait in the queue and
// the menu takes them one per pass once it runs.
std::string KeysDuringIntro(const std::vector<std::string>& keys) {
    std::string script = "at 0 trace trace.txt\n";
    for (const std::string& k : keys) script += "at 1000 key " + k + "\n";
    return script;
}

void Repeat(std::vector<std::string>& keys, const std::string& key, int times) {
    for (int i = 0; i < times; ++i) keys.push_back(key);
}

TEST(ProgramRunTest, MenuNavigationValuesScreensAndClose) {
    std::vector<std::string> keys = {"UP", "DOWN"};
    Repeat(keys, "DOWN", 5);
    keys.push_back("LEFT");
    Repeat(keys, "RIGHT", 8);
    keys.push_back("DOWN");
    Repeat(keys, "RIGHT", 26);
    Repeat(keys, "LEFT", 26);
    keys.push_back("q");
    Repeat(keys, "UP", 5);
    keys.insert(keys.end(), {"SPACE", "x", "DOWN", "DOWN", "SPACE", "UP", "DOWN"});
    Repeat(keys, "DOWN", 4);
    keys.push_back("SPACE");
    Result r = RunHeadless(KeysDuringIntro(keys));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "\n\n");  // Close writes one line end, the program's end another
    EXPECT_EQ(r.err, "");

    std::vector<TraceText> lines = TextsOfTrace(HeadlessRun::ReadFile(r.dir + "/trace.txt"));
    std::vector<MenuPicture> got = MenuPictures(lines);

    std::vector<MenuPicture> want = {Picture(1, "1", "0"), Picture(9, "1", "0"), Picture(1, "1", "0")};
    for (unsigned d = 2; d <= 6; ++d) want.push_back(Picture(d, "1", "0"));
    want.push_back(Picture(6, "1", "0"));  // LEFT at level 1
    for (int lv = 2; lv <= 8; ++lv) want.push_back(Picture(6, std::to_string(lv), "0"));
    want.push_back(Picture(6, "8", "0"));  // RIGHT at level 8
    want.push_back(Picture(7, "8", "0"));
    for (const char* s : {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15", "17",
                          "18", "19", "20", "21", "22", "23", "24", "25", "25"}) {
        want.push_back(Picture(7, "8", s));
    }
    for (const char* s : {"24", "23", "22", "21", "20", "18", "17", "16", "15", "14", "13", "12", "11", "10", "9",
                          "8", "7", "6", "5", "4", "3", "2", "1", "0", "0", "0"}) {
        want.push_back(Picture(7, "8", s));
    }
    want.push_back(Picture(7, "8", "0"));  // q changes nothing
    for (unsigned d = 6; d >= 2; --d) want.push_back(Picture(d, "8", "0"));
    want.push_back(Picture(2, "8", "0"));  // SPACE on the story entry ...
    want.push_back(Picture(2, "8", "0"));  // ... and the redraw after the screen
    want.push_back(Picture(3, "8", "0"));
    want.push_back(Picture(4, "8", "0"));
    want.push_back(Picture(4, "8", "0"));  // SPACE on the controls entry ...
    want.push_back(Picture(4, "8", "0"));  // ... and the redraw after the screen
    want.push_back(Picture(4, "8", "0"));  // the UP's pending half read as "other"
    for (unsigned d = 5; d <= 9; ++d) want.push_back(Picture(d, "8", "0"));
    want.push_back(Picture(9, "8", "0"));  // SPACE on Close ...
    want.push_back(Picture(9, "8", "0"));  // ... and the last redraw
    EXPECT_EQ(got, want);

    // The help lines come first, and again after each performed entry.
    long help = FindRun(lines, HelpLines);
    EXPECT_GE(help, 0);
    long story = FindRun(lines, StoryLines);
    long controls = FindRun(lines, ControlsLines);
    EXPECT_GT(story, help);
    EXPECT_GT(controls, story);
}

TEST(ProgramRunTest, EndCommandStopsMidProgramWithSnapshotAndCompleteTrace) {
    Result r = RunHeadless("at 0 trace trace.txt\nat 60000 snap menu.png\nat 60000 end\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    std::string png = HeadlessRun::ReadFile(r.dir + "/menu.png");
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
    std::vector<TraceText> lines = TextsOfTrace(HeadlessRun::ReadFile(r.dir + "/trace.txt"));
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back().text, "**9**     Close");  // flushed up to the menu's last line
}

// With --frames a frame mark follows the requests of each frame the program
// shows: every intro frame, the menu's first picture and its redraw after a
// key, but not the menu's idle polls in between. Without it there are none.
TEST(ProgramRunTest, TraceMarksEachPublishedFrameWhenAsked) {
    const char* script = "at 0 trace trace.txt\nat 30000 key DOWN\nat 31000 end\n";
    Result plain = RunHeadless(script);
    ASSERT_EQ(plain.status, 0) << plain.err;
    EXPECT_EQ(HeadlessRun::ReadFile(plain.dir + "/trace.txt").find("frame "), std::string::npos);
    Result r = RunHeadless(script, "--frames");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string trace = HeadlessRun::ReadFile(r.dir + "/trace.txt");
    std::vector<std::string> marks;
    std::istringstream in(trace);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("frame ", 0) == 0) marks.push_back(line.substr(6));
    std::vector<std::string> want;
    for (int ms = 0; ms <= 29000; ms += 50) want.push_back(std::to_string(ms));   // 581 intro frames
    want.insert(want.end(), {"29050", "30000"});
    EXPECT_EQ(marks, want);
    EXPECT_EQ(trace.substr(trace.rfind('\n', trace.size() - 2) + 1), "frame 30000\n");
}

TEST(ProgramRunTest, ScreenWaitingWithNoScriptedKeyLeftEndsTheRun) {
    Result r = RunHeadless(KeysDuringIntro({"DOWN", "SPACE"}));
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<TraceText> lines = TextsOfTrace(HeadlessRun::ReadFile(r.dir + "/trace.txt"));
    EXPECT_GE(FindRun(lines, StoryLines), 0);
    EXPECT_EQ(lines.back().text, "Press any key");
}

TEST(ProgramRunTest, ScriptFaultsStopBeforeTheProgramStarts) {
    Result r = RunHeadless("at 0 trace trace.txt\nat 5 key UPP\n");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "kyr-headless: script line 2: unknown key name \"UPP\"\n");
    EXPECT_EQ(HeadlessRun::ReadFile(r.dir + "/trace.txt"), "");

    r = RunHeadless("at 20 key a\nat 10 key b\n");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "kyr-headless: script line 2: time 10 is earlier than the line before (20)\n");

    for (const char* options : {"--clock 2000-01-01", "--until soon", "--frobnicate 1", "--until"}) {
        r = RunHeadless("", options);
        EXPECT_EQ(r.status, 2) << options;
        EXPECT_EQ(r.out, "") << options;
        EXPECT_NE(r.err, "") << options;
    }
}

// Virtual time makes a run repeatable: the same script and clock give the
// same drawing, and the wall clock seeds the library generator (the stars).
TEST(ProgramRunTest, RunsRepeatAndTheClockOptionSeedsTheStars) {
    const std::string script = "at 0 trace trace.txt\n";
    Result a = RunHeadless(script, "--until 1500 --clock \"2000-01-01 00:00:07.13\"");
    Result b = RunHeadless(script, "--until 1500 --clock \"2000-01-01 00:00:07.13\"");
    Result c = RunHeadless(script, "--until 1500 --clock \"2000-01-01 00:00:00.00\"");
    ASSERT_EQ(a.status, 0) << a.err;
    std::string traceA = HeadlessRun::ReadFile(a.dir + "/trace.txt");
    EXPECT_EQ(traceA.substr(0, traceA.find('\n')), "surfaces");  // traced from Graph::Init on
    EXPECT_EQ(traceA, HeadlessRun::ReadFile(b.dir + "/trace.txt"));
    EXPECT_NE(traceA, HeadlessRun::ReadFile(c.dir + "/trace.txt"));
}

TEST(ProgramRunTest, TimeLimitEndsTheRun) {
    Result r = RunHeadless("at 0 trace trace.txt\n", "--until 500 --clock \"2024-02-29 23:59:59.99\"");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_NE(HeadlessRun::ReadFile(r.dir + "/trace.txt"), "");
}

// A trace that cannot be written ends the run with the script fault status
// and one message naming the file, however the run ends.
TEST(ProgramRunTest, TraceThatCannotBeWrittenEndsWithStatus2) {
    const std::string message = "kyr-headless: script line 1: cannot write trace file \"/dev/full\": No space left on device\n";
    for (const char* script : {"at 0 trace /dev/full\nat 60000 end\n",        // end command
                               "at 0 trace /dev/full\n",                       // the key waits run out
                               "at 0 trace /dev/full\nat 5 trace off\n"}) {    // trace off before the end
        Result r = RunHeadless(script, "--until 3000");
        EXPECT_EQ(r.status, 2) << script;
        EXPECT_EQ(r.err, message) << script;
    }
}

// A script that cannot be read to its end is a fault: nothing of it runs.
TEST(ProgramRunTest, UnreadableScriptRunsNothing) {
    for (std::string path : {"/proc/self/mem", "/dev/zero"}) {
        Result r = HeadlessRun::RunHeadlessWith("--script " + path);
        EXPECT_EQ(r.status, 2) << path;
        EXPECT_EQ(r.out, "") << path;
        EXPECT_EQ(r.err.rfind("kyr-headless: cannot read script \"" + path + "\"", 0), 0u) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
}

// Offending text is shown escaped and cut, so the message stays one line.
TEST(ProgramRunTest, FaultMessagesQuoteTextSafely) {
    Result r = RunHeadless("at 5 key \x01\x1b[2J\r" + std::string(500, 'K') + "\n");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "kyr-headless: script line 1: unknown key name \"\\x01\\x1b[2J\\r" + std::string(67, 'K') +
                         "\"...\n");
}

}  // namespace
