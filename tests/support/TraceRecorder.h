// Graph's request trace, one line per posted request, recorded into a
// temporary file from construction until Stop. Given a fake clock, every
// wait that lets time pass is written between the requests as "wait US"
// (the clock's hook is taken meanwhile). Others may write into the file too.
// ParseTraceLine takes a line apart again.
#pragma once
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/graph/GraphProbe.h"
#include "tests/support/FakeClock.h"

namespace testsupport {

class TraceRecorder {
public:
    TraceRecorder() {
        if (file_ == nullptr) std::abort();
        Graph::SetTrace(file_);
    }
    explicit TraceRecorder(FakeClock& clock) : TraceRecorder() {
        clock_ = &clock;
        clock.afterWait = [file = file_](uint64_t from, uint64_t deadline) {
            if (deadline > from) std::fprintf(file, "wait %llu\n", static_cast<unsigned long long>(deadline - from));
        };
    }
    ~TraceRecorder() {
        Stop();
        std::fclose(file_);
    }
    TraceRecorder(const TraceRecorder&) = delete;
    TraceRecorder& operator=(const TraceRecorder&) = delete;

    std::FILE* File() const { return file_; }

    // The lines recorded so far, without their line ends; recording goes on.
    std::vector<std::string> Lines() {
        std::fflush(file_);
        std::rewind(file_);
        std::vector<std::string> lines;
        char* line = nullptr;
        std::size_t capacity = 0;
        for (ssize_t n; (n = getline(&line, &capacity, file_)) > 0;)
            lines.emplace_back(line, std::size_t(n) - (line[n - 1] == '\n'));   // a last line without its end too
        std::free(line);
        std::fseek(file_, 0, SEEK_END);   // what comes later is appended
        return lines;
    }

    // Ends the recording once the requests posted so far are done, and
    // returns every line recorded.
    std::vector<std::string> Stop() {
        if (recording_) {
            Graph::SetTrace(nullptr);
            if (clock_ != nullptr) clock_->afterWait = nullptr;
            recording_ = false;
        }
        return Lines();
    }

private:
    std::FILE* file_ = std::tmpfile();
    FakeClock* clock_ = nullptr;
    bool recording_ = true;
};

// The lines that begin with `prefix`, in order.
inline std::vector<std::string> LinesStartingWith(const std::vector<std::string>& lines, const std::string& prefix) {
    std::vector<std::string> found;
    for (const std::string& line : lines)
        if (line.rfind(prefix, 0) == 0) found.push_back(line);
    return found;
}

// One trace line taken apart: the request's name ("line", "rect", "text",
// "wait" ...), its numbers in order, whether a shape is filled, and a text
// request's text with the trace's escapes (\" \\ \xHH) undone.
struct TraceRequest {
    std::string name;
    std::vector<int64_t> numbers;
    bool filled = false;
    std::string text;
};

// Empty for a line that is not in the trace's form.
inline std::optional<TraceRequest> ParseTraceLine(const std::string& line) {
    TraceRequest r;
    const std::size_t quote = line.find('"');
    std::istringstream words(line.substr(0, quote));
    if (!(words >> r.name)) return std::nullopt;
    for (std::string word; words >> word;) {
        if (word == "fill" || word == "outline") {
            r.filled = word == "fill";
            continue;
        }
        char* end = nullptr;
        r.numbers.push_back(std::strtoll(word.c_str(), &end, 10));
        if (*end != '\0') return std::nullopt;
    }
    if (quote == std::string::npos) return r;
    std::size_t i = quote + 1;
    for (; i < line.size() && line[i] != '"'; ++i) {
        if (line[i] == '\\' && line.compare(i + 1, 1, "x") == 0 && i + 3 < line.size()) {
            r.text += static_cast<char>(std::strtol(line.substr(i + 2, 2).c_str(), nullptr, 16));
            i += 3;
        } else {
            i += line[i] == '\\';
            r.text += line[i];
        }
    }
    if (i + 1 != line.size()) return std::nullopt;   // the closing quote ends the line
    return r;
}

// A text request: where, in which colour, what.
struct TraceText {
    int64_t x = 0, y = 0, colour = 0;
    std::string text;
};

// The text requests among `lines`, in order.
inline std::vector<TraceText> TextsOf(const std::vector<std::string>& lines) {
    std::vector<TraceText> texts;
    for (const std::string& line : lines) {
        const std::optional<TraceRequest> r = ParseTraceLine(line);
        if (r && r->name == "text" && r->numbers.size() == 3)
            texts.push_back({r->numbers[0], r->numbers[1], r->numbers[2], r->text});
    }
    return texts;
}

// The same for a whole trace file's contents.
inline std::vector<TraceText> TextsOfTrace(const std::string& trace) {
    std::vector<std::string> lines;
    std::istringstream in(trace);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return TextsOf(lines);
}

// Expected lines, as Graph writes them.
inline std::string TracedLine(int x1, int y1, int x2, int y2, int colour) {
    char buffer[80];
    std::snprintf(buffer, sizeof buffer, "line %d %d %d %d %d", x1, y1, x2, y2, colour);
    return buffer;
}
inline std::string TracedFilledRect(int x1, int y1, int x2, int y2, int colour) {
    char buffer[80];
    std::snprintf(buffer, sizeof buffer, "rect %d %d %d %d %d fill", x1, y1, x2, y2, colour);
    return buffer;
}

}  // namespace testsupport
