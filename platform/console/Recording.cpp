// The recording file: writing its lines, and reading and checking a whole
// file before anything of it is used, line by line as its blocks are read.
#include "platform/console/Recording.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>

#include "platform/console/NamedFiles.h"
#include "platform/console/QuotedText.h"
#include "platform/console/UsKeyboard.h"

namespace Recording {
namespace {

constexpr uint32_t kAllStateBits = 0x01FF;  // RIGHT_ALT_PRESSED .. ENHANCED_KEY

constexpr const char* kEndKinds[] = {"exit", "closed", "stopped", "signal"};
constexpr const char* kOtherNames[] = {"other", "mouse", "focus", "menu", "size"};

// A readable name for a key line's comment (the script's name where the key
// has one); the numbers are what counts.
std::string KeyName(const IO::KeyRecord& k) {
    for (const IO::UsKey& key : IO::kUsKeyboard)
        if (key.name != nullptr && key.virtualKeyCode == k.virtualKeyCode && key.scanCode == k.virtualScanCode)
            return key.name;
    if (k.asciiChar > ' ' && k.asciiChar < 0x7F) return std::string(1, char(k.asciiChar));
    return "key";
}

constexpr std::string_view kBlanks = " \t\r";

// The words of one line, one at a time, its comment left off.
class Words {
public:
    explicit Words(std::string_view line) : rest_(line.substr(0, line.find('#'))) {}

    // The next word; empty when none is left.
    std::string_view Next() {
        const std::size_t start = rest_.find_first_not_of(kBlanks);
        if (start == std::string_view::npos) {
            rest_ = {};
            return {};
        }
        rest_.remove_prefix(start);
        const std::string_view word = rest_.substr(0, rest_.find_first_of(kBlanks));
        rest_.remove_prefix(word.size());
        return word;
    }

    // True when no word is left (a blank line, or one holding only a comment).
    bool None() const { return rest_.find_first_not_of(kBlanks) == std::string_view::npos; }

private:
    std::string_view rest_;
};

// Reads the fields of one line in order; the first fault is kept.
class LineReader {
public:
    LineReader(Words words, std::string& error) : words_(words), error_(error) {}

    bool Failed() const { return !error_.empty(); }
    void Fail(const std::string& what) {
        if (error_.empty()) error_ = what;
    }

    std::string_view Word(const char* what) {
        if (Failed()) return {};
        const std::string_view word = words_.Next();
        if (word.empty()) Fail(std::string("missing ") + what);
        return word;
    }

    // The next word where the line may end: empty when it does.
    std::string_view MaybeWord() { return Failed() ? std::string_view() : words_.Next(); }

    // A decimal number in [low, high]; a sign only where low is negative.
    int64_t Number(const char* what, int64_t low, int64_t high) {
        const std::string_view text = Word(what);
        if (Failed()) return low;
        int64_t value = 0;
        const bool sign = !text.empty() && text[0] == '-';
        const bool digits = text.size() > std::size_t(sign) &&
                            text.find_first_not_of("0123456789", std::size_t(sign)) == std::string_view::npos;
        const auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (!digits || (sign && low >= 0) || problem != std::errc() || end != text.data() + text.size()) {
            Fail(std::string("bad ") + what + " " + IO::QuotedText(text, '"'));
            return low;
        }
        if (value < low || value > high) {
            Fail(std::string(what) + " " + std::string(text) + " out of range (" + std::to_string(low) + " to " +
                 std::to_string(high) + ")");
            return low;
        }
        return value;
    }

    void NoMore() {
        const std::string_view extra = MaybeWord();
        if (!extra.empty()) Fail("unexpected " + IO::QuotedText(extra, '"'));
    }

private:
    Words words_;
    std::string& error_;
};

constexpr int64_t kMaxPoll = int64_t(1) << 53;

IO::InputEvent ReadEvent(LineReader& in) {
    IO::InputEvent e;
    const std::string_view kind = in.Word("event kind");
    if (kind == "event") {
        e.isKey = false;
        e.other = IO::OtherEvent(in.Number("event kind", 0, IO::kLastOtherEvent));
    } else if (kind == "key") {
        e.key.keyDown = in.Number("key-down flag", 0, 1) == 1;
        e.key.repeatCount = uint16_t(in.Number("repeat count", 0, 0xFFFF));
        e.key.virtualKeyCode = uint16_t(in.Number("virtual key code", 0, 0xFFFF));
        e.key.virtualScanCode = uint16_t(in.Number("scan code", 0, 0xFFFF));
        e.key.asciiChar = uint8_t(in.Number("character", 0, 0xFF));
        e.key.controlKeyState = uint32_t(in.Number("control-key state", 0, kAllStateBits));
    } else if (!in.Failed()) {
        in.Fail("unknown event kind " + IO::QuotedText(kind, '"') + " (want key or event)");
    }
    return e;
}

SysClock::DateTime ReadClock(LineReader& in) {
    SysClock::DateTime dt{};
    dt.year = CARDINAL(in.Number("year", 0, 0xFFFFFFFFll));
    dt.month = CARDINAL(in.Number("month", 1, 12));
    dt.day = CARDINAL(in.Number("day", 1, 31));
    dt.hour = CARDINAL(in.Number("hour", 0, 23));
    dt.minute = CARDINAL(in.Number("minute", 0, 59));
    dt.second = CARDINAL(in.Number("second", 0, 59));
    dt.fractions = CARDINAL(in.Number("hundredths", 0, 99));
    dt.zone = INTEGER(in.Number("zone", -780, 720));
    dt.SummerTimeFlag = in.Number("summer-time flag", 0, 1) == 1;
    return dt;
}

End ReadEnd(LineReader& in) {
    End end;
    const std::string_view kind = in.Word("how the run ended");
    bool known = false;
    for (std::size_t k = 0; k < std::size(kEndKinds); ++k) {
        if (kind == kEndKinds[k]) {
            end.kind = EndKind(k);
            known = true;
        }
    }
    if (!known && !in.Failed()) in.Fail("unknown end " + IO::QuotedText(kind, '"') + " (want exit, closed, stopped or signal)");
    end.value = end.kind == EndKind::Signal ? in.Number("signal number", 1, 64) : in.Number("status", 0, 255);
    if (in.Word("\"poll\"") != "poll" && !in.Failed()) in.Fail("want \"poll\" before the end's poll number");
    end.poll = uint64_t(in.Number("poll number", 0, kMaxPoll));
    if (in.Word("\"requests\"") != "requests" && !in.Failed()) in.Fail("want \"requests\" before the request count");
    end.requests = uint64_t(in.Number("request count", 0, kMaxPoll));
    return end;
}

bool KnownOption(std::string_view word) {
    static constexpr std::string_view kKnown[] = {
        "window=sdl", "window=offscreen", "window=web", "fullscreen=yes", "fullscreen=no", "renderer=auto",
        "renderer=software", "renderer=hardware", "scale=1", "scale=2", "scale=3", "scale=4", "scale=auto"};
    for (std::string_view known : kKnown)
        if (word == known) return true;
    return false;
}

// The three header lines: format and version, program, options.
void ReadHeaderLine(int number, Words words, Header& header, std::string& error) {
    LineReader in(words, error);
    if (number == 1) {
        if (in.Word("format name") != kFormatName) return in.Fail("not a kyr recording (the first line is not \"kyr-recording 1\")");
        in.Number("format version", kFormatVersion, kFormatVersion);
        if (in.Failed()) error = "unknown version of the kyr-recording format (this program reads version 1)";
    } else if (number == 2) {
        if (in.Word("program line") != "program") return in.Fail("want the program line (\"program kyr VERSION\")");
        header.program = std::string(in.Word("program name"));
        if (!in.Failed() && header.program != "kyr" && header.program != "kyr-headless")
            return in.Fail("unknown program " + IO::QuotedText(header.program, '"'));
        header.version = std::string(in.Word("program version"));
    } else {
        if (in.Word("options line") != "options") return in.Fail("want the options line (\"options ...\")");
        for (std::string_view word = in.MaybeWord(); !word.empty(); word = in.MaybeWord()) {
            if (!KnownOption(word)) return in.Fail("unknown option " + IO::QuotedText(word, '"'));
            header.options += (header.options.empty() ? "" : " ") + std::string(word);
        }
        return;
    }
    in.NoMore();
}

// Reads the lines after the header into the session, checking their order.
class BodyReader {
public:
    explicit BodyReader(Session& s) : s_(s) {}

    void Read(Words words, std::string& error) {
        LineReader in(words, error);
        const std::string_view kind = in.Word("line kind");
        if (s_.end) return in.Fail("a line after the end line");
        if (kind == "clock") {
            s_.clocks.push_back(ReadClock(in));
        } else if (kind == "poll") {
            const uint64_t poll = uint64_t(in.Number("poll number", 1, kMaxPoll));
            if (!in.Failed() && poll < lastPoll_) return in.Fail(Order("poll", poll));
            s_.events.push_back({poll, ReadEvent(in)});
            lastPoll_ = poll;
        } else if (kind == "end") {
            End end = ReadEnd(in);
            if (!in.Failed() && end.poll < lastPoll_) return in.Fail(Order("end at poll", end.poll));
            s_.end = end;
        } else {
            return in.Fail("unknown line " + IO::QuotedText(kind, '"') + " (want clock, poll or end)");
        }
        in.NoMore();
    }

private:
    std::string Order(const char* what, uint64_t poll) const {
        return std::string(what) + " " + std::to_string(poll) + " comes after poll " + std::to_string(lastPoll_) +
               " (polls out of order)";
    }

    Session& s_;
    uint64_t lastPoll_ = 0;
};

}  // namespace

struct RecordingParser::State {
    Loaded loaded;
    BodyReader body{loaded.session};
    int number = 0;        // lines read
    std::string pending;   // the line under way, when a piece ended inside it

    void Line(std::string_view line) {
        ++number;
        const Words words(line);
        if (number <= 3) {
            ReadHeaderLine(number, words, loaded.session.header, loaded.error);
        } else if (!words.None()) {
            body.Read(words, loaded.error);
        }
    }
};

RecordingParser::RecordingParser() : state_(std::make_unique<State>()) {}
RecordingParser::~RecordingParser() = default;

bool RecordingParser::Feed(std::string_view bytes) {
    State& s = *state_;
    while (s.loaded.Ok() && !bytes.empty()) {
        const std::size_t stop = bytes.find('\n');
        if (stop == std::string_view::npos) {
            s.pending.append(bytes);
            break;
        }
        if (s.pending.empty()) {
            s.Line(bytes.substr(0, stop));
        } else {
            s.pending.append(bytes.substr(0, stop));
            s.Line(s.pending);
            s.pending.clear();
        }
        bytes.remove_prefix(stop + 1);
    }
    return s.loaded.Ok();
}

Loaded RecordingParser::Finish() {
    State& s = *state_;
    if (s.loaded.Ok() && !s.pending.empty()) {
        ++s.number;
        s.loaded.error = "cut off (the last line has no line end)";
    }
    if (s.loaded.Ok() && s.number < 3) {
        s.number += 1;
        s.loaded.error = s.number == 1 ? "not a kyr recording (the file is empty)" : "the header ends early";
    }
    if (!s.loaded.Ok()) {
        s.loaded.error = "line " + std::to_string(s.number) + ": " + s.loaded.error;
        s.loaded.session = Session{};
    }
    return std::move(s.loaded);
}

Loaded ParseRecording(std::string_view text) {
    RecordingParser parser;
    parser.Feed(text);
    return parser.Finish();
}

namespace {

const char* const kTooLarge = " (larger than 256 MiB)";

// Reads the file to its end in blocks, giving them to the parser; once the
// parser has found a fault the rest is only counted, so that a file over
// the size limit is refused as such whatever its lines hold. An endless
// file (a device, a pipe that never closes) is read only a block past the
// limit. Returns what keeps the file from being read, or nothing.
std::string ReadBlocks(int fd, RecordingParser& parser) {
    struct stat info {};
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && uint64_t(info.st_size) > kMaxBytes) return kTooLarge;
    char block[65536];
    for (std::size_t total = 0;;) {
        const ssize_t n = read(fd, block, sizeof block);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::string(": ") + std::strerror(errno);
        if (n == 0) return "";
        total += std::size_t(n);
        if (total > kMaxBytes) return kTooLarge;
        parser.Feed(std::string_view(block, std::size_t(n)));
    }
}

Loaded Refused(std::string error) {
    Loaded loaded;
    loaded.error = std::move(error);
    return loaded;
}

}  // namespace

Loaded LoadRecording(const std::string& path) {
    const std::string name = IO::QuotedText(path, '"');
    std::string why;
    const int fd = IO::OpenNamedFile(path, IO::FileUse::Read, why);
    if (fd < 0) return Refused("cannot read recording " + name + ": " + why);
    RecordingParser parser;
    const std::string unreadable = ReadBlocks(fd, parser);
    close(fd);
    if (!unreadable.empty()) return Refused("cannot read recording " + name + unreadable);
    Loaded loaded = parser.Finish();
    if (!loaded.Ok()) loaded.error = "recording " + name + " " + loaded.error;
    return loaded;
}

std::string HeaderText(const Header& header) {
    return std::string(kFormatName) + " " + std::to_string(kFormatVersion) + "\nprogram " + header.program + " " +
           header.version + "\noptions" + (header.options.empty() ? "" : " ") + header.options + "\n";
}

std::string ClockLine(const SysClock::DateTime& dt) {
    char line[160];
    std::snprintf(line, sizeof line, "clock %u %u %u %u %u %u %u %d %d\n", dt.year, dt.month, dt.day, dt.hour,
                  dt.minute, dt.second, dt.fractions, dt.zone, dt.SummerTimeFlag ? 1 : 0);
    return line;
}

std::string EventLine(uint64_t poll, const IO::InputEvent& event) {
    char line[160];
    if (!event.isKey) {
        const unsigned kind = unsigned(event.other);
        std::snprintf(line, sizeof line, "poll %llu event %u  # %s\n", static_cast<unsigned long long>(poll), kind,
                      kind <= IO::kLastOtherEvent ? kOtherNames[kind] : "?");
        return line;
    }
    const IO::KeyRecord& k = event.key;
    std::snprintf(line, sizeof line, "poll %llu key %d %u %u %u %u %u  # %s %s\n",
                  static_cast<unsigned long long>(poll), k.keyDown ? 1 : 0, k.repeatCount, k.virtualKeyCode,
                  k.virtualScanCode, k.asciiChar, k.controlKeyState, KeyName(k).c_str(), k.keyDown ? "down" : "up");
    return line;
}

std::string EndLine(const End& end) {
    return "end " + std::string(kEndKinds[std::size_t(end.kind)]) + " " + std::to_string(end.value) + " poll " +
           std::to_string(end.poll) + " requests " + std::to_string(end.requests) + "\n";
}

}  // namespace Recording
