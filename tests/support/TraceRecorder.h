// Graph's request trace, one line per posted request, recorded into a
// temporary file from construction until Stop. Given a fake clock, every
// wait that lets time pass is written between the requests as "wait US"
// (the clock's hook is taken meanwhile). Others may write into the file too.
// ParseTraceLine takes a line apart again.
#pragma once
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/FakeClock.h"

namespace testsupport {

class TraceRecorder {
public:
    TraceRecorder();
    explicit TraceRecorder(FakeClock& clock);
    ~TraceRecorder();
    TraceRecorder(const TraceRecorder&) = delete;
    TraceRecorder& operator=(const TraceRecorder&) = delete;

    std::FILE* File() const { return file_; }

    // The lines recorded so far, without their line ends; recording goes on.
    std::vector<std::string> Lines();

    // Ends the recording once the requests posted so far are done, and
    // returns every line recorded.
    std::vector<std::string> Stop();

private:
    std::FILE* file_;
    FakeClock* clock_ = nullptr;
    bool recording_ = true;
};

// The lines that begin with `prefix`, in order.
std::vector<std::string> LinesStartingWith(const std::vector<std::string>& lines, const std::string& prefix);

// One trace line taken apart: the request's name ("line", "rect", "text",
// "wait" ...), its numbers in order, whether a shape is filled, and a text
// request's text with its escapes undone.
struct TraceRequest {
    std::string name;
    std::vector<int64_t> numbers;
    bool filled = false;
    std::string text;
};
// Empty for a line that is not in the trace's form.
std::optional<TraceRequest> ParseTraceLine(const std::string& line);

// A text request: where, in which colour, what.
struct TraceText {
    int64_t x = 0, y = 0, colour = 0;
    std::string text;
};
// The text requests among `lines`, in order.
std::vector<TraceText> TextsOf(const std::vector<std::string>& lines);
// The same for a whole trace file's contents.
std::vector<TraceText> TextsOfTrace(const std::string& trace);

// Expected lines, as Graph writes them.
std::string TracedLine(int x1, int y1, int x2, int y2, int colour);
std::string TracedFilledRect(int x1, int y1, int x2, int y2, int colour);

}  // namespace testsupport
