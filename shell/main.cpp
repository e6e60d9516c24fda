// kyr: the program with its SDL window and the terminal's keys; optionally
// recording the session, replaying a recorded one, or tracing its drawing.
// The window options come from the settings file and the command line.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "platform/console/ConsoleInput.h"
#include "platform/sdl/SdlWindow.h"
#include "platform/runtime/Session.h"
#include "shell/CommandLine.h"
#include "shell/Settings.h"
#include "shell/Shell.h"

#ifndef KYR_VERSION
#error "KYR_VERSION must come from the build (the project's version)"
#endif

namespace {

std::string PictureOptions(const Graph::SdlWindowOptions& w) {
    return "window=sdl scale=" + Shell::ScaleWord(w.scale) + " fullscreen=" + (w.fullscreen ? "yes" : "no") +
           " renderer=" + std::string(Shell::RendererWord(w.renderer));
}

}  // namespace

int main(int argc, char** argv) {
    // Help, version and a bad command line are answered before anything
    // starts, and before the settings file is read.
    const Shell::ParsedCommandLine command =
        Shell::ReadOptions(argc, argv, std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"), std::cerr);
    if (const auto status = Shell::AnswerWithoutRunning(command, std::cout, std::cerr)) return *status;
    const Shell::CommandLine& options = command.options;
    if (options.writeConfig) return Shell::AnswerWriteConfig(options, std::cout, std::cerr);

    Runtime::SessionFiles files;
    files.program = "kyr";
    files.version = KYR_VERSION;
    files.pictureOptions = PictureOptions(options.window);
    files.replayPath = options.replay;
    files.recordPath = options.record;
    files.tracePath = options.trace;
    Runtime::Session session;
    if (!session.Open(files)) return Shell::kStatusBadCommandLine;

    Graph::UseSdlWindow(options.window);
    // Keys come from the terminal (and the window); a standard input that
    // cannot be read just gives no keys. A replay drops them, but the
    // terminal still gives Ctrl+C and shows no echo of what is typed.
    IO::StartConsoleInput();
    int status = session.Run(KYR12::RunProgram);
    if (status == Shell::kStatusNoWindow) {
        const std::string why = Shell::MissingDisplayLine(std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY"));
        if (!why.empty()) std::fprintf(stderr, "%s\n", why.c_str());
    }
    return status;
}
