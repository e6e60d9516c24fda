// kyr: the program with its SDL window and the terminal's keys.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "platform/console/ConsoleInput.h"
#include "platform/graph/sdl/SdlWindow.h"
#include "shell/CommandLine.h"
#include "shell/Shell.h"

int main(int argc, char** argv) {
    // Help, version and a bad command line are answered before anything starts.
    const Shell::ParsedCommandLine command = Shell::ParseCommandLine(argc, argv);
    if (const auto status = Shell::AnswerWithoutRunning(command, std::cout, std::cerr)) return *status;

    Graph::UseSdlWindow(command.options.window);
    // Keys come from the terminal (and the window); a standard input that
    // cannot be read just gives no keys.
    IO::StartConsoleInput();
    int status = KYR12::RunProgram();
    IO::StopConsoleInput();  // restores the terminal
    if (status == Shell::kStatusNoWindow) {
        const std::string why = Shell::MissingDisplayLine(std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY"));
        std::fflush(stdout);
        if (!why.empty()) std::fprintf(stderr, "%s\n", why.c_str());
    }
    return status;
}
