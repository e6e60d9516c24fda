// The recording file: every kind of event, clock reading and end written and
// read back unchanged, comments and blank lines passed over; records kept in
// fewer bytes than their lines. Bad files are refused through the programs
// (tests/headless/ReplayTest.cpp).
#include <gtest/gtest.h>

#include <cstring>

#include "platform/console/Recording.h"

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

template <class Record>
std::vector<Record> All(const PackedLog<Record>& log) {
    std::vector<Record> all;
    for (typename PackedLog<Record>::Reader reader(log); reader.Peek() != nullptr; reader.Pop())
        all.push_back(*reader.Peek());
    return all;
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

}  // namespace
