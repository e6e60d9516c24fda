// The recording file: every kind of event, clock reading and end written and
// read back unchanged, comments and blank lines passed over; a text read in
// pieces of any size as it reads whole; records kept in fewer bytes than
// their lines; a file that cannot be read says why. Bad lines are refused
// through the programs (tests/headless/ReplayTest.cpp).
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <fstream>

#include "platform/console/QuotedText.h"
#include "platform/console/Recording.h"
#include "tests/support/TempFiles.h"

namespace {

using namespace Recording;

IO::InputEvent Key(bool down, uint16_t repeat, uint16_t vk, uint16_t scan, uint8_t ch, uint32_t state) {
    IO::InputEvent e;
    e.key = {down, repeat, vk, scan, ch, state};
    return e;
}

IO::InputEvent Other(IO::OtherEvent kind) {
    IO::InputEvent e;
    e.isKey = false;
    e.other = kind;
    return e;
}

bool Same(const IO::InputEvent& a, const IO::InputEvent& b) {
    if (a.isKey != b.isKey) return false;
    if (!a.isKey) return a.other == b.other;
    return a.key.keyDown == b.key.keyDown && a.key.repeatCount == b.key.repeatCount &&
           a.key.virtualKeyCode == b.key.virtualKeyCode && a.key.virtualScanCode == b.key.virtualScanCode &&
           a.key.asciiChar == b.key.asciiChar && a.key.controlKeyState == b.key.controlKeyState;
}

bool Same(const SysClock::DateTime& a, const SysClock::DateTime& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour && a.minute == b.minute &&
           a.second == b.second && a.fractions == b.fractions && a.zone == b.zone &&
           a.SummerTimeFlag == b.SummerTimeFlag;
}

std::string WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

template <class Record>
std::vector<Record> All(const PackedLog<Record>& log) {
    std::vector<Record> all;
    for (typename PackedLog<Record>::Reader reader(log); reader.Peek() != nullptr; reader.Pop())
        all.push_back(*reader.Peek());
    return all;
}

// The session as the recorder would write it, clock readings first.
std::string TextOf(const Session& s) {
    std::string text = HeaderText(s.header);
    for (const SysClock::DateTime& dt : All(s.clocks)) text += ClockLine(dt);
    for (const PolledEvent& p : All(s.events)) text += EventLine(p.poll, p.event);
    return text + (s.end ? EndLine(*s.end) : "");
}

TEST(RecordingTest, EveryKindOfLineReadsBackAsWritten) {
    const Header header{"kyr", "1.0.0", "window=sdl scale=4 fullscreen=yes renderer=software"};
    const std::vector<SysClock::DateTime> clocks = {
        {2026, 12, 7, 15, 19, 0, 45, 0, false},
        {0, 1, 1, 0, 0, 0, 0, -780, true},
        {4294967295u, 12, 31, 23, 59, 59, 99, 720, false},
    };
    const std::vector<PolledEvent> events = {
        {1, Key(true, 1, 0x26, 0x48, 0, IO::ENHANCED_KEY)},
        {1, Key(false, 1, 0x26, 0x48, 0, IO::ENHANCED_KEY)},
        {7, Key(true, 0, 0xFFFF, 0xFFFF, 255, 0x1FF)},
        {7, Key(true, 65535, 0, 0, 0, 0)},
        {8, Other(IO::OtherEvent::Other)},
        {8, Other(IO::OtherEvent::Mouse)},
        {9, Other(IO::OtherEvent::Focus)},
        {9, Other(IO::OtherEvent::Menu)},
        {uint64_t(1) << 40, Other(IO::OtherEvent::Size)},
        {uint64_t(1) << 53, Key(false, 300, 0x80, 0x4000, 128, 0x100)},
    };
    for (EndKind kind : {EndKind::Exit, EndKind::Closed, EndKind::Stopped, EndKind::Signal}) {
        const End end{kind, kind == EndKind::Signal ? 2 : 255, uint64_t(1) << 53, 123456789};
        std::string text = HeaderText(header) + "\n# a comment line\n" + ClockLine(clocks[0]);
        for (const PolledEvent& p : events) text += EventLine(p.poll, p.event);
        text += ClockLine(clocks[1]) + "\n" + ClockLine(clocks[2]) + EndLine(end);

        const Loaded loaded = ParseRecording(text);
        ASSERT_TRUE(loaded.Ok()) << loaded.error << "\n" << text;
        const Session& s = loaded.session;
        EXPECT_EQ(s.header.program, header.program);
        EXPECT_EQ(s.header.version, header.version);
        EXPECT_EQ(s.header.options, header.options);
        const std::vector<SysClock::DateTime> readClocks = All(s.clocks);
        ASSERT_EQ(readClocks.size(), clocks.size());
        for (std::size_t i = 0; i < clocks.size(); ++i) EXPECT_TRUE(Same(readClocks[i], clocks[i])) << i;
        const std::vector<PolledEvent> readEvents = All(s.events);
        ASSERT_EQ(readEvents.size(), events.size());
        for (std::size_t i = 0; i < events.size(); ++i) {
            EXPECT_EQ(readEvents[i].poll, events[i].poll) << i;
            EXPECT_TRUE(Same(readEvents[i].event, events[i].event)) << i << ": " << EventLine(1, readEvents[i].event);
        }
        ASSERT_TRUE(s.end.has_value());
        EXPECT_EQ(s.end->kind, end.kind);
        EXPECT_EQ(s.end->value, end.value);
        EXPECT_EQ(s.end->poll, end.poll);
        EXPECT_EQ(s.end->requests, end.requests);
    }
}

// A run cut short (killed) leaves no end line: the file is still good.
TEST(RecordingTest, AFileWithoutEndLineIsGoodAndLinesNameTheirKey) {
    const std::string text = HeaderText({"kyr-headless", "1.0.0", ""}) + EventLine(3, Key(true, 1, 0x28, 0x50, 0, IO::ENHANCED_KEY));
    EXPECT_NE(text.find("options\n"), std::string::npos);
    EXPECT_NE(text.find("poll 3 key 1 1 40 80 0 256  # DOWN down\n"), std::string::npos) << text;
    const Loaded loaded = ParseRecording(text);
    ASSERT_TRUE(loaded.Ok()) << loaded.error;
    EXPECT_FALSE(loaded.session.end.has_value());
    EXPECT_EQ(loaded.session.events.size(), 1u);
}

// The options line takes the words a run records, the automatic scale
// among them; any other word is refused by name.
TEST(RecordingTest, TheOptionsLineTakesOnlyTheWordsARunRecords) {
    for (const std::string options : {"window=sdl scale=auto fullscreen=yes renderer=auto", "scale=4", ""}) {
        const Loaded loaded = ParseRecording(HeaderText({"kyr", "1.0.0", options}));
        ASSERT_TRUE(loaded.Ok()) << loaded.error;
        EXPECT_EQ(loaded.session.header.options, options);
    }
    for (const std::string word : {"scale=0", "scale=5", "scale=Auto", "renderer=gpu"})
        EXPECT_EQ(ParseRecording(HeaderText({"kyr", "1.0.0", "window=sdl " + word})).error,
                  "line 3: unknown option \"" + word + "\"");
}

// A file's blocks end anywhere: inside a word, between a carriage return and
// its line feed, right after a line end.
TEST(RecordingTest, ATextFedInPiecesOfAnySizeReadsAsItDoesWhole) {
    const std::string head = HeaderText({"kyr", "1.0.0", "window=sdl scale=2"});
    const std::string body = ClockLine({2026, 12, 7, 15, 31, 11, 53, -60, true}) + "\n# a note\r\n" +
                             EventLine(3, Key(true, 1, 0x28, 0x50, 0, IO::ENHANCED_KEY)) +
                             EventLine(3, Other(IO::OtherEvent::Focus)) + "poll 4\tkey 1 1 32 57 32 0\r\n" +
                             EndLine({EndKind::Stopped, 0, 4, 99});
    const struct { std::string text, error; } cases[] = {
        {head + body, ""},
        {head + body.substr(0, body.size() - 1), "line 10: cut off (the last line has no line end)"},
        {head + "clock 2026 13 1 0 0 0 0 0 0\n" + body, "line 4: month 13 out of range (1 to 12)"},
        {head + body + "poll 5 event 1\n", "line 11: a line after the end line"},
        {head + "poll 7 key 1 1 40 80 0 256 9 8 7 6 5 4 3 2 1\n", "line 4: unexpected \"9\""},
        {"kyr-recording 1\nprogram kyr 1.0.0\n", "line 3: the header ends early"},
        {"", "line 1: not a kyr recording (the file is empty)"},
    };
    for (const auto& c : cases) {
        const Loaded whole = ParseRecording(c.text);
        EXPECT_EQ(whole.error, c.error);
        if (c.error.empty()) {
            EXPECT_EQ(TextOf(whole.session), head + body.substr(0, body.find('\n') + 1) + EventLine(3, Key(true, 1, 0x28, 0x50, 0, IO::ENHANCED_KEY)) +
                      EventLine(3, Other(IO::OtherEvent::Focus)) + EventLine(4, Key(true, 1, 32, 57, 32, 0)) +
                      EndLine({EndKind::Stopped, 0, 4, 99}));
        }
        for (std::size_t piece : {1, 2, 3, 7, 64}) {
            RecordingParser parser;
            for (std::size_t at = 0; at < c.text.size(); at += piece) parser.Feed(std::string_view(c.text).substr(at, piece));
            const Loaded loaded = parser.Finish();
            EXPECT_EQ(loaded.error, c.error) << "pieces of " << piece;
            EXPECT_EQ(TextOf(loaded.session), TextOf(whole.session)) << "pieces of " << piece;
        }
    }
}

// A loaded recording takes less memory than its file: every record is kept
// in fewer bytes than the shortest line that gives it, whatever its numbers.
TEST(RecordingTest, RecordsAreKeptInFewerBytesThanTheirLines) {
    const std::string lines[] = {
        "poll 1 event 0",
        "poll 1 key 0 0 0 0 0 0",
        "clock 0 1 1 0 0 0 0 0 0",
        "poll 9007199254740992 event 4",
        "poll 9007199254740992 key 1 65535 65535 65535 255 511",
        "clock 4294967295 12 31 23 59 59 99 -780 1",
        "clock 2026 12 7 15 31 11 53 720 0",
    };
    for (const std::string& line : lines) {
        std::string body;
        for (int k = 0; k < 10000; ++k) body += line + "\n";
        const Loaded loaded = ParseRecording(HeaderText({"kyr", "1.0.0", ""}) + body);
        ASSERT_TRUE(loaded.Ok()) << loaded.error;
        const Session& s = loaded.session;
        EXPECT_EQ(s.events.size() + s.clocks.size(), 10000u) << line;
        EXPECT_LT(s.events.StoredBytes() + s.clocks.StoredBytes(), body.size() - 10000) << line;
    }
}

// The file is read in blocks of 64 KiB: a text of many blocks loads as it
// parses, and a fault far into it names its line.
TEST(RecordingTest, AFileOfManyBlocksLoadsAsItsText) {
    std::string text = HeaderText({"kyr-headless", "1.0.0", "window=offscreen"});
    for (uint64_t poll = 1; poll <= 10000; ++poll)
        text += EventLine(poll, Key(poll % 2 == 1, 1, 0x28, 0x50, 0, IO::ENHANCED_KEY)) + "\n";
    const std::string dir = testsupport::FreshFolder("kyr-recording-");
    const Loaded good = LoadRecording(WriteFile(dir + "/good.kyrrec", text));
    ASSERT_TRUE(good.Ok()) << good.error;
    EXPECT_EQ(TextOf(good.session), TextOf(ParseRecording(text).session));
    const std::string bad = WriteFile(dir + "/bad.kyrrec", text + "poll 1 event 0\n");
    EXPECT_EQ(LoadRecording(bad).error,
              "recording " + IO::QuotedText(bad, '"') + " line 20004: poll 1 comes after poll 10000 (polls out of order)");
}

TEST(RecordingTest, AFileThatCannotBeReadSaysWhy) {
    const std::string dir = testsupport::FreshFolder("kyr-recording-");
    ASSERT_EQ(mkfifo((dir + "/fifo").c_str(), 0600), 0);
    chmod(WriteFile(dir + "/locked", "kyr-recording 1\n").c_str(), 0);
    // Over the limit by a byte, and sparse: refused by its size, before a read.
    const int big = open((dir + "/big").c_str(), O_WRONLY | O_CREAT, 0600);
    ASSERT_EQ(ftruncate(big, off_t(kMaxBytes) + 1), 0);
    close(big);
    const struct { std::string name, why; } cases[] = {
        {"none", ": No such file or directory"},
        {"fifo", ": a FIFO (named pipe), not a file"},
        {"", ": a folder, not a file"},
        {"locked", geteuid() == 0 ? "" : ": Permission denied"},  // root reads it all the same
        {"big", " (larger than 256 MiB)"},
    };
    for (const auto& c : cases) {
        if (c.why.empty()) continue;
        const std::string path = dir + "/" + c.name;
        EXPECT_EQ(LoadRecording(path).error, "cannot read recording " + IO::QuotedText(path, '"') + c.why);
    }
}

}  // namespace
