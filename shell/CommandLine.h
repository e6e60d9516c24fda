// kyr's command line: the options, the usage and version texts, and the
// answers given without running the game (help, version, a bad argument).
//
//   kyr [--scale N|auto] [--fullscreen|--no-fullscreen] [--renderer KIND]
//       [--record FILE] [--replay FILE] [--trace FILE] [--config FILE]
//   kyr [--config FILE] [window options] --write-config
//   kyr --help | -h
//   kyr --version
//
// An option's value follows as the next argument or after '=' (--scale=2).
// A later option overrides an earlier one; there are no positional arguments.
// The window options start from the settings file's (shell/Settings.h).
#pragma once
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "platform/sdl/SdlWindow.h"

namespace Shell {

inline constexpr std::string_view kProgramName = "kyr";

// Exit statuses of kyr.
inline constexpr int kStatusOk = 0;
inline constexpr int kStatusNoWindow = 1;
inline constexpr int kStatusBadCommandLine = 2;  // also: a recording refused, a file not written
inline constexpr int kStatusReplayRanOut = 3;     // a replay asked for more than the file holds

struct CommandLine {
    bool help = false;
    bool version = false;
    Graph::SdlWindowOptions window;
    std::string record;  // --record: write the session to this file
    std::string replay;  // --replay: play this recorded session
    std::string trace;   // --trace: write the drawing requests to this file
    std::string config;  // --config: the settings file (once read: the one read)
    bool writeConfig = false;  // --write-config: write the settings file and exit
};

struct ParsedCommandLine {
    CommandLine options;
    // Empty when the arguments are good, else one line (no newline, no
    // program name) naming the first bad argument.
    std::string error;
    bool Ok() const { return error.empty(); }
};

// The arguments without the program's name; the window options start from
// `window` (the settings file's).
ParsedCommandLine ParseCommandLine(std::span<const std::string_view> arguments,
                                   const Graph::SdlWindowOptions& window = {});
// main's argc and argv; argv[0] is skipped.
ParsedCommandLine ParseCommandLine(int argc, const char* const* argv);

std::string UsageText();
std::string VersionText();  // "kyr <version>\n"

// The text between single quotes, safe to print on one line: quote and
// backslash escaped, bytes outside printable ASCII as \n, \t, \r or \xHH;
// text longer than 80 characters once escaped is cut and marked "...".
std::string QuoteArgument(std::string_view text);

// Help, version or a bad command line: writes the answer and returns the
// exit status. Nothing written and no status when the game should run.
std::optional<int> AnswerWithoutRunning(const ParsedCommandLine& parsed, std::ostream& out, std::ostream& err);

// Why no window could open when no display is named (both variables unset
// or empty): one line without newline; empty when a display is named.
std::string MissingDisplayLine(const char* display, const char* waylandDisplay);

}  // namespace Shell
