// Graph's request trace, one line per posted request, recorded into a
// temporary file from construction until Stop. Others may write into the
// same file (a fake clock's waits), so their lines fall between the requests.
#pragma once
#include <cstdio>
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
        std::string line;
        for (int c; (c = std::fgetc(file_)) != EOF;) {
            if (c != '\n') {
                line += static_cast<char>(c);
            } else {
                lines.push_back(line);
                line.clear();
            }
        }
        if (!line.empty()) lines.push_back(line);   // a last line cut short shows too
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
