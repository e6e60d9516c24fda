// kyr: the program with its SDL window and the terminal's keys; optionally
// recording the session, replaying a recorded one, or tracing its drawing.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "platform/console/ConsoleInput.h"
#include "platform/console/QuotedText.h"
#include "platform/console/Recording.h"
#include "platform/console/Waits.h"
#include "platform/graph/GraphProbe.h"
#include "platform/graph/sdl/SdlWindow.h"
#include "shell/CommandLine.h"
#include "shell/Shell.h"

#ifndef KYR_VERSION
#error "KYR_VERSION must come from the build (the project's version)"
#endif

namespace {

std::FILE* traceFile = nullptr;

// At every wait: a run ended by a signal then leaves whole frames in the trace.
void FlushTrace() { std::fflush(traceFile); }

// The replay reached its end (or ran out): the program ends at once, as
// when its window is closed.
void EndReplay(int status) {
    Waits::RequestEnd(status);
    Waits::BeforeWait();
}

// The run ended at one of its waits (the window was closed or lost), or
// some other way that did not come back through main.
void EndRecordingAtExit() {
    int status = 0;
    const bool requested = Waits::EndRequested(&status);
    Recording::EndRecording(requested ? Recording::EndKind::Closed : Recording::EndKind::Exit, status);
}

std::string PictureOptions(const Graph::SdlWindowOptions& w) {
    using Renderer = Graph::SdlWindowOptions::Renderer;
    const char* renderer = w.renderer == Renderer::Software ? "software"
                           : w.renderer == Renderer::Hardware ? "hardware" : "auto";
    return "window=sdl scale=" + std::to_string(w.scale) + " fullscreen=" + (w.fullscreen ? "yes" : "no") +
           " renderer=" + renderer;
}

// Opens the trace and the recording and loads the replay, before anything
// starts; returns the exit status when one of them fails.
int StartSession(const Shell::CommandLine& options) {
    std::string error;
    if (!options.replay.empty() && !Recording::StartReplayOf(options.replay, "kyr", KYR_VERSION, EndReplay, error)) {
        std::fprintf(stderr, "kyr: %s\n", error.c_str());
        return Shell::kStatusBadCommandLine;
    }
    if (!options.trace.empty()) {
        traceFile = std::fopen(options.trace.c_str(), "w");
        if (traceFile == nullptr) {
            std::fprintf(stderr, "kyr: cannot create trace file %s\n", IO::QuotedText(options.trace, '"').c_str());
            return Shell::kStatusBadCommandLine;
        }
        Graph::SetTrace(traceFile);
        Waits::AddWaitListener(FlushTrace);
    }
    if (!options.record.empty()) {
        if (!Recording::StartRecording(options.record, {"kyr", KYR_VERSION, PictureOptions(options.window)}, error)) {
            std::fprintf(stderr, "kyr: %s\n", error.c_str());
            return Shell::kStatusBadCommandLine;
        }
        std::atexit(EndRecordingAtExit);
    }
    return Shell::kStatusOk;
}

}  // namespace

int main(int argc, char** argv) {
    // Help, version and a bad command line are answered before anything starts.
    const Shell::ParsedCommandLine command = Shell::ParseCommandLine(argc, argv);
    if (const auto status = Shell::AnswerWithoutRunning(command, std::cout, std::cerr)) return *status;
    if (const int status = StartSession(command.options); status != Shell::kStatusOk) return status;

    Graph::UseSdlWindow(command.options.window);
    // Keys come from the terminal (and the window); a standard input that
    // cannot be read just gives no keys. A replay drops them, but the
    // terminal still gives Ctrl+C and shows no echo of what is typed.
    IO::StartConsoleInput();
    Recording::RecordEndingSignals();
    int status = KYR12::RunProgram();
    IO::StopConsoleInput();  // restores the terminal
    Recording::EndRecording(Recording::EndKind::Exit, status);
    bool written = Recording::RecordingWritten();
    if (traceFile != nullptr && (std::ferror(traceFile) != 0) | (std::fclose(traceFile) != 0)) {
        std::fprintf(stderr, "kyr: cannot write trace file %s\n", IO::QuotedText(command.options.trace, '"').c_str());
        written = false;
    }
    // A run whose recording or trace was not kept whole did not do what it
    // was asked, whatever the game's own end.
    if (status == Shell::kStatusOk && !written) status = Shell::kStatusBadCommandLine;
    if (status == Shell::kStatusNoWindow) {
        const std::string why = Shell::MissingDisplayLine(std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY"));
        std::fflush(stdout);
        if (!why.empty()) std::fprintf(stderr, "%s\n", why.c_str());
    }
    return status;
}
