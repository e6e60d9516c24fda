// The recording file: writing its lines, and reading and checking a whole
// file before anything of it is used.
#include "platform/console/Recording.h"

#include <charconv>
#include <cstdio>
#include <fstream>

#include "platform/console/UsKeyboard.h"
#include "platform/console/QuotedText.h"

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

// The words of one line, its comment left off.
std::vector<std::string_view> Words(std::string_view line) {
    line = line.substr(0, line.find('#'));
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < line.size()) {
        const std::size_t start = line.find_first_not_of(" \t\r", at);
        if (start == std::string_view::npos) break;
        const std::size_t stop = std::min(line.find_first_of(" \t\r", start), line.size());
        words.push_back(line.substr(start, stop - start));
        at = stop;
    }
    return words;
}

// Reads the fields of one line in order; the first fault is kept.
class LineReader {
public:
    LineReader(std::vector<std::string_view> words, std::string& error) : words_(std::move(words)), error_(error) {}

    bool Failed() const { return !error_.empty(); }
    void Fail(const std::string& what) {
        if (error_.empty()) error_ = what;
    }

    std::string_view Word(const char* what) {
        if (Failed()) return {};
        if (next_ >= words_.size()) {
            Fail(std::string("missing ") + what);
            return {};
        }
        return words_[next_++];
    }

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
        if (!Failed() && next_ < words_.size()) Fail("unexpected " + IO::QuotedText(words_[next_], '"'));
    }

private:
    std::vector<std::string_view> words_;
    std::size_t next_ = 0;
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
        "window=sdl", "window=offscreen", "fullscreen=yes", "fullscreen=no", "renderer=auto",
        "renderer=software", "renderer=hardware", "scale=1", "scale=2", "scale=3", "scale=4"};
    for (std::string_view known : kKnown)
        if (word == known) return true;
    return false;
}

// The three header lines: format and version, program, options.
void ReadHeaderLine(int number, std::vector<std::string_view> words, Header& header, std::string& error) {
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
        for (std::size_t k = 1; k < words.size() && !in.Failed(); ++k) {
            if (!KnownOption(words[k])) in.Fail("unknown option " + IO::QuotedText(words[k], '"'));
            header.options += (header.options.empty() ? "" : " ") + std::string(words[k]);
        }
        return;
    }
    in.NoMore();
}

// Reads the lines after the header into the session, checking their order.
class BodyReader {
public:
    explicit BodyReader(Session& s) : s_(s) {}

    void Read(std::vector<std::string_view> words, std::string& error) {
        const std::string_view kind = words.front();
        LineReader in(std::move(words), error);
        in.Word("line kind");
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

Loaded ParseRecording(std::string_view text) {
    Loaded loaded;
    BodyReader body(loaded.session);
    int number = 0;
    std::size_t at = 0;
    for (; at < text.size() && loaded.Ok(); ) {
        ++number;
        const std::size_t stop = text.find('\n', at);
        if (stop == std::string_view::npos) {
            loaded.error = "cut off (the last line has no line end)";
            break;
        }
        const std::vector<std::string_view> words = Words(text.substr(at, stop - at));
        at = stop + 1;
        if (number <= 3) {
            ReadHeaderLine(number, words, loaded.session.header, loaded.error);
        } else if (!words.empty()) {
            body.Read(words, loaded.error);
        }
    }
    if (loaded.Ok() && number < 3) {
        number += 1;
        loaded.error = number == 1 ? "not a kyr recording (the file is empty)" : "the header ends early";
    }
    if (!loaded.Ok()) {
        loaded.error = "line " + std::to_string(number) + ": " + loaded.error;
        loaded.session = Session{};
    }
    return loaded;
}

Loaded LoadRecording(const std::string& path) {
    Loaded loaded;
    std::ifstream in(path, std::ios::binary);
    std::string text;
    // At most one byte past the limit is read, so that an endless file
    // (a device, a pipe that never closes) is refused instead of filling memory.
    char block[65536];
    while (in && text.size() <= kMaxBytes) {
        in.read(block, sizeof block);
        text.append(block, std::size_t(in.gcount()));
    }
    if (!in.is_open() || in.bad() || text.size() > kMaxBytes) {
        loaded.error = "cannot read recording " + IO::QuotedText(path, '"') +
                       (text.size() > kMaxBytes ? " (larger than 256 MiB)" : "");
        return loaded;
    }
    loaded = ParseRecording(text);
    if (!loaded.Ok()) loaded.error = "recording " + IO::QuotedText(path, '"') + " " + loaded.error;
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
