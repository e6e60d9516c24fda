// Graph's request trace, one line per posted request, recorded into a
// temporary file from construction until Stop. Others may write into the
// same file (a fake clock's waits), so their lines fall between the requests.
#pragma once
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/graph/Graph.h"
#include "platform/graph/GraphProbe.h"

namespace testsupport {

class TraceRecorder {
public:
    TraceRecorder() {
        Graph::Sync();
        Graph::SetTrace(file_);
    }
    ~TraceRecorder() {
        Stop();
        std::fclose(file_);
    }
    TraceRecorder(const TraceRecorder&) = delete;
    TraceRecorder& operator=(const TraceRecorder&) = delete;

    std::FILE* File() const { return file_; }

    // Ends the recording once the requests posted so far are done.
    void Stop() {
        if (!recording_) return;
        Graph::Sync();
        Graph::SetTrace(nullptr);
        recording_ = false;
    }

    // The lines recorded so far, without their line ends; recording goes on.
    std::vector<std::string> Lines() {
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

private:
    std::FILE* file_ = std::tmpfile();
    bool recording_ = true;
};

// The lines that begin with `prefix`, in order.
inline std::vector<std::string> LinesStartingWith(const std::vector<std::string>& lines, const std::string& prefix) {
    std::vector<std::string> found;
    for (const std::string& line : lines)
        if (line.rfind(prefix, 0) == 0) found.push_back(line);
    return found;
}

}  // namespace testsupport
