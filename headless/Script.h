// The headless runner's script: one timed command per line.
//
//   at MS key NAME      one key pressed and released
//   at MS event [KIND]  one non-key event (OTHER, MOUSE, FOCUS, MENU, SIZE)
//   at MS snap FILE     the back buffer as a PNG
//   at MS trace FILE    append one line per drawing request to FILE from MS on
//   at MS trace off     stop tracing
//   at MS end           end the run with status 0
//
// '#' starts a comment; blank lines are ignored; times are virtual
// milliseconds in non-decreasing order.
#pragma once
#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "headless/KeyNames.h"

namespace Headless {

enum class CommandKind { Key, Event, Snap, Trace, TraceOff, End };

struct Command {
    uint64_t timeMs = 0;
    CommandKind kind = CommandKind::End;
    KeyPress key{};     // Key
    IO::OtherEvent other = IO::OtherEvent::Other;  // Event
    std::string path;   // Snap, Trace
    int line = 0;       // where it stands in the script
};

struct Script {
    std::vector<Command> commands;
    std::string error;  // empty when the script is sound, else "script line N: ..."
    bool Ok() const { return error.empty(); }
};

// Largest time a script may name: far beyond any run, and small enough that
// microseconds never overflow.
inline constexpr uint64_t MaxScriptTimeMs = 1000000000000ull;

// Largest script file: far beyond any hand-written or generated script, and
// small enough that an endless file (/dev/zero) fails at once.
inline constexpr std::size_t MaxScriptBytes = 4 * 1024 * 1024;

Script ParseScript(std::istream& in);
Script ParseScriptText(const std::string& text);
// Reads and parses a file; a file that cannot be read to its end, or is
// longer than MaxScriptBytes, is an error and gives no commands.
Script LoadScript(const std::string& path);

}  // namespace Headless
