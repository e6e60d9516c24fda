// One run of the program: what each program's main fills in (which
// recording to play or make, which trace to write), the program body run on
// the one thread there is, and the one way every run ends. However it ends
// (the body returns, the window is closed or lost, Ctrl+C, SIGTERM or
// SIGHUP, a replay's or a script's end) the run unwinds to Session::Run,
// which writes the recording's end line, checks the trace and the
// recording, closes the window and restores the terminal.
#pragma once
#include <cstdio>
#include <string>

namespace Runtime {

// The status of a run whose trace or recording was not kept whole, and of
// a file that cannot be opened or read before the run.
inline constexpr int kStatusFilesNotKept = 2;

struct SessionFiles {
    std::string program;          // names the program in messages and in a recording's header
    std::string version;
    std::string pictureOptions;   // how the picture is shown, for a recording's header
    std::string replayPath;       // a recording to replay, or empty
    std::string recordPath;       // a recording to make, or empty
    std::string tracePath;        // the request trace to write, or empty
    // Closes the program's own files at the end (a headless script's trace);
    // false when one was not kept. Optional.
    bool (*closeOwnFiles)() = nullptr;
};

class Session {
public:
    // Loads the replay and opens the trace and the recording, before
    // anything starts. Returns true, or false with the message said (the
    // run then ends with kStatusFilesNotKept).
    bool Open(const SessionFiles& files);

    // Runs `body` and returns the status to end with: the body's own, or the
    // status of the end that stopped it (0 for a closed window). A run that
    // would end with 0 ends with kStatusFilesNotKept when its trace or
    // recording was not kept. A run ended by a signal, once everything is
    // closed, ends by that signal's default action and does not return.
    int Run(int (*body)());
};

}  // namespace Runtime
