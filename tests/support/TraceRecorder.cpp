#include "tests/support/TraceRecorder.h"

#include <cstdlib>
#include <sstream>

#include "platform/graph/GraphProbe.h"

namespace testsupport {

TraceRecorder::TraceRecorder() : file_(std::tmpfile()) {
    if (file_ == nullptr) std::abort();
    Graph::Sync();
    Graph::SetTrace(file_);
}

TraceRecorder::TraceRecorder(FakeClock& clock) : TraceRecorder() {
    clock_ = &clock;
    clock.afterWait = [file = file_](uint64_t from, uint64_t deadline) {
        if (deadline > from) std::fprintf(file, "wait %llu\n", static_cast<unsigned long long>(deadline - from));
    };
}

TraceRecorder::~TraceRecorder() {
    Stop();
    std::fclose(file_);
}

std::vector<std::string> TraceRecorder::Lines() {
    Graph::Sync();
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

std::vector<std::string> TraceRecorder::Stop() {
    if (recording_) {
        Graph::Sync();
        Graph::SetTrace(nullptr);
        if (clock_ != nullptr) clock_->afterWait = nullptr;
        recording_ = false;
    }
    return Lines();
}

std::vector<std::string> LinesStartingWith(const std::vector<std::string>& lines, const std::string& prefix) {
    std::vector<std::string> found;
    for (const std::string& line : lines)
        if (line.rfind(prefix, 0) == 0) found.push_back(line);
    return found;
}

namespace {

// The quoted text from `open` (its opening quote) to the closing quote, the
// quote, backslash and \xHH escapes undone; false when it is not closed
// right at the line's end.
bool Unquote(const std::string& line, std::size_t open, std::string& out) {
    out.clear();
    std::size_t i = open + 1;
    for (; i < line.size() && line[i] != '"'; ++i) {
        if (line[i] != '\\') {
            out += line[i];
        } else if (i + 1 < line.size() && line[i + 1] == 'x' && i + 3 < line.size()) {
            out += static_cast<char>(std::stoi(line.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else if (i + 1 < line.size()) {
            out += line[++i];
        } else {
            return false;
        }
    }
    return i + 1 == line.size();
}

}  // namespace

std::optional<TraceRequest> ParseTraceLine(const std::string& line) {
    TraceRequest r;
    const std::size_t quote = line.find('"');
    std::istringstream in(line.substr(0, quote));
    if (!(in >> r.name)) return std::nullopt;
    for (std::string word; in >> word;) {
        if (word == "fill" || word == "outline") {
            r.filled = word == "fill";
            continue;
        }
        char* end = nullptr;
        const long long value = std::strtoll(word.c_str(), &end, 10);
        if (*end != '\0') return std::nullopt;
        r.numbers.push_back(value);
    }
    if (quote != std::string::npos && !Unquote(line, quote, r.text)) return std::nullopt;
    return r;
}

std::vector<TraceText> TextsOf(const std::vector<std::string>& lines) {
    std::vector<TraceText> texts;
    for (const std::string& line : lines) {
        const std::optional<TraceRequest> r = ParseTraceLine(line);
        if (r && r->name == "text" && r->numbers.size() == 3)
            texts.push_back({r->numbers[0], r->numbers[1], r->numbers[2], r->text});
    }
    return texts;
}

std::vector<TraceText> TextsOfTrace(const std::string& trace) {
    std::vector<std::string> lines;
    std::istringstream in(trace);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return TextsOf(lines);
}

namespace {

std::string Shape(const char* name, int x1, int y1, int x2, int y2, int colour) {
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "%s %d %d %d %d %d", name, x1, y1, x2, y2, colour);
    return buffer;
}

}  // namespace

std::string TracedLine(int x1, int y1, int x2, int y2, int colour) { return Shape("line", x1, y1, x2, y2, colour); }

std::string TracedFilledRect(int x1, int y1, int x2, int y2, int colour) {
    return Shape("rect", x1, y1, x2, y2, colour) + " fill";
}

}  // namespace testsupport
