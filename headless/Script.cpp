// Parses the runner's scripts. Every fault stops the run before the program
// starts, with a message that names the line.
#include "headless/Script.h"

#include <cerrno>
#include <cstdio>

#include <charconv>
#include <cstring>
#include <sstream>
#include <string_view>

#include "headless/Quote.h"
#include "platform/console/NamedFiles.h"

namespace Headless {

namespace {

// Splits a line into its first word and the rest, both without surrounding blanks.
std::string_view Trim(std::string_view s) {
    const char* blanks = " \t\r\n\v\f";
    std::size_t first = s.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    std::size_t last = s.find_last_not_of(blanks);
    return s.substr(first, last - first + 1);
}

std::string_view NextWord(std::string_view& rest) {
    rest = Trim(rest);
    std::size_t end = rest.find_first_of(" \t");
    std::string_view word = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view{} : Trim(rest.substr(end));
    return word;
}

bool ParseTime(std::string_view text, uint64_t& ms) {
    if (text.empty()) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), ms);
    return ec == std::errc() && end == text.data() + text.size() && ms <= MaxScriptTimeMs;
}

// The event kinds in the order of IO::OtherEvent.
bool EventKind(std::string_view word, IO::OtherEvent& kind) {
    const char* names[] = {"OTHER", "MOUSE", "FOCUS", "MENU", "SIZE"};
    for (uint8_t k = 0; k <= IO::kLastOtherEvent; ++k) {
        if (word == names[k]) {
            kind = IO::OtherEvent(k);
            return true;
        }
    }
    return false;
}

struct LineParser {
    int number;
    std::string error;

    bool Fail(const std::string& what) {
        error = "script line " + std::to_string(number) + ": " + what;
        return false;
    }

    bool NoMore(std::string_view rest, std::string_view command) {
        if (rest.empty()) return true;
        return Fail("unexpected " + Quote(rest) + " after " + std::string(command));
    }

    bool Arguments(std::string_view command, std::string_view rest, Command& out) {
        if (command == "key") {
            std::string_view name = NextWord(rest);
            if (name.empty()) return Fail("missing key name");
            if (!KeyPressFor(name, out.key)) return Fail("unknown key name " + Quote(name));
            out.kind = CommandKind::Key;
            return NoMore(rest, name);
        }
        if (command == "event") {
            std::string_view kind = NextWord(rest);
            if (!kind.empty() && !EventKind(kind, out.other)) return Fail("unknown event " + Quote(kind));
            out.kind = CommandKind::Event;
            return NoMore(rest, kind.empty() ? command : kind);
        }
        if (command == "snap" || command == "trace") {
            // The rest of the line is the file name, taken as written.
            if (rest.empty()) return Fail("missing file name after " + std::string(command));
            // A NUL would cut the name short where the file is opened.
            if (rest.find('\0') != std::string_view::npos) return Fail("file name " + Quote(rest) + " holds a NUL byte");
            out.kind = command == "snap" ? CommandKind::Snap : (rest == "off" ? CommandKind::TraceOff : CommandKind::Trace);
            out.path = std::string(rest);
            return true;
        }
        if (command == "end") {
            out.kind = CommandKind::End;
            return NoMore(rest, command);
        }
        if (command.empty()) return Fail("missing command after the time");
        return Fail("unknown command " + Quote(command));
    }

    // Parses one line that is neither blank nor a comment.
    bool Parse(std::string_view text, uint64_t earliest, Command& out) {
        std::string_view rest = text;
        std::string_view at = NextWord(rest);
        if (at != "at") return Fail("unknown command " + Quote(at) + " (lines begin with \"at MS\")");
        std::string_view time = NextWord(rest);
        if (time.empty()) return Fail("missing time");
        if (!ParseTime(time, out.timeMs)) return Fail("bad time " + Quote(time));
        if (out.timeMs < earliest) {
            return Fail("time " + std::to_string(out.timeMs) + " is earlier than the line before (" +
                        std::to_string(earliest) + ")");
        }
        out.line = number;
        std::string_view command = NextWord(rest);
        return Arguments(command, rest, out);
    }
};

}  // namespace

Script ParseScript(std::istream& in) {
    Script script;
    std::string line;
    uint64_t earliest = 0;
    for (int number = 1; std::getline(in, line); ++number) {
        std::string_view text = line;
        text = Trim(text.substr(0, text.find('#')));
        if (text.empty()) continue;
        LineParser parser{number, {}};
        Command command;
        if (!parser.Parse(text, earliest, command)) {
            script.commands.clear();
            script.error = parser.error;
            return script;
        }
        earliest = command.timeMs;
        script.commands.push_back(std::move(command));
    }
    return script;
}

Script ParseScriptText(const std::string& text) {
    std::istringstream in(text);
    return ParseScript(in);
}

Script LoadScript(const std::string& path) {
    // The whole file is read before anything is parsed, so that a read error
    // part-way never passes for a shorter script. A FIFO, a socket or a
    // folder is refused before it is read: it could block for ever, or read
    // as nothing and pass for an empty script.
    Script script;
    auto fail = [&](const std::string& why) {
        script.error = "cannot read script " + Quote(path) + why;
        return script;
    };
    std::string why;
    std::FILE* file = IO::OpenNamedStream(path, IO::FileUse::Read, why);
    if (file == nullptr) return fail(": " + why);
    std::string text;
    char buffer[65536];
    bool tooLong = false;
    while (!tooLong) {
        std::size_t got = std::fread(buffer, 1, sizeof buffer, file);
        if (got == 0) break;
        tooLong = text.size() + got > MaxScriptBytes;
        if (!tooLong) text.append(buffer, got);
    }
    const int readError = std::ferror(file) != 0 ? errno : 0;
    std::fclose(file);
    if (tooLong) return fail(" (longer than " + std::to_string(MaxScriptBytes / (1024 * 1024)) + " MiB)");
    if (readError != 0) return fail(std::string(": ") + std::strerror(readError));
    return ParseScriptText(text);
}

}  // namespace Headless
