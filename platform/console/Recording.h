// Recordings of a session: the text file that keeps everything the program's
// behaviour depends on (the clock readings it took and the input events each
// key poll received), the recorder that writes it as the program runs, and
// the player that feeds it back. docs/replay-format.md describes the file.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/console/SysClock.h"
#include "platform/console/InputQueue.h"
#include "platform/console/RecordingStore.h"

namespace Recording {

inline constexpr std::string_view kFormatName = "kyr-recording";
inline constexpr int kFormatVersion = 1;

// The exit status of a replay whose program asked for more than the file
// holds. (A file refused before the program starts ends it with 2.)
inline constexpr int kStatusRanOut = 3;

// How the recorded run ended: the program returned its status (Exit), the
// window was closed or lost (Closed), the runner stopped it (Stopped: a
// headless script's end or time limit), or a signal ended it (Signal).
enum class EndKind : uint8_t { Exit, Closed, Stopped, Signal };

struct End {
    EndKind kind = EndKind::Exit;
    int64_t value = 0;      // the exit status, or the signal's number
    uint64_t poll = 0;      // the polls made by then
    uint64_t requests = 0;  // the drawing requests posted by the program's last wait
};

struct Header {
    std::string program;  // "kyr" or "kyr-headless"
    std::string version;  // the program's version, e.g. "1.0.0"
    std::string options;  // NAME=VALUE words: how the picture was shown
};

struct Session {
    Header header;
    ClockLog clocks;          // in the order they were taken
    EventLog events;          // in the order they were received
    std::optional<End> end;   // none when the run was cut short
};

struct Loaded {
    Session session;
    std::string error;  // empty when sound, else "line N: what is wrong"
    bool Ok() const { return error.empty(); }
};

// Largest file read: far beyond hours of play, and small enough that an
// endless file fails at once.
inline constexpr std::size_t kMaxBytes = 256u * 1024 * 1024;

// Reads a recording given in pieces of any size (a file's blocks as they are
// read): each line is checked and kept as soon as it is whole, so that no
// more than the line under way is held as text.
class RecordingParser {
public:
    RecordingParser();
    ~RecordingParser();
    // Takes the next bytes. False once a line was found bad: what follows is
    // then passed over.
    bool Feed(std::string_view bytes);
    // The session, or the first fault ("line N: what is wrong"); a last line
    // without its line end was cut off. Call once, after the last Feed.
    Loaded Finish();

private:
    struct State;
    std::unique_ptr<State> state_;
};

Loaded ParseRecording(std::string_view text);
// Reads and parses the file block by block. The error names the file:
// "recording \"PATH\" line N: ...", or "cannot read recording \"PATH\": "
// and why (the system's reason, or what the name is instead of a file), or
// "cannot read recording \"PATH\" (larger than 256 MiB)" whatever its lines.
Loaded LoadRecording(const std::string& path);

// The file's lines, each with its line end.
std::string HeaderText(const Header& header);
std::string ClockLine(const SysClock::DateTime& dt);
std::string EventLine(uint64_t poll, const IO::InputEvent& event);
std::string EndLine(const End& end);

// The recorder. Writes the header and from then on every clock reading and
// every delivery of input events, each as it happens. False, with `error`
// said, when the file cannot be created.
bool StartRecording(const std::string& path, const Header& header, std::string& error);
// Writes the end line; only the first call (or signal) writes one.
void EndRecording(EndKind kind, int64_t value);
// False once a write to the recording has failed (a full disk, a closed
// pipe): the run goes on, but it must not end as if all had been kept.
bool RecordingWritten();
// Closes the recording at the run's end. A recording to a file is written
// to PATH.PID.partial beside it and renamed over PATH here, so that PATH
// stays as it was until the run ends well: a run that drew nothing and read
// no key (its window never opened) removes the partial file; a failed write or close keeps
// the partial file and leaves PATH alone. False, with the message said,
// when the recording was not kept.
bool FinishRecording();

// The player. From now on the program's clock readings and each poll's
// events come from `session`; live input is dropped. When the program
// reaches the recorded end, or asks for more than the file holds, the player
// says so on standard error (messages begin with `who`) and calls `end` with
// status 0 or kStatusRanOut; `end` must not return (it unwinds the run). The recorded end of a
// run that did not end by itself is the first wait at which the program has
// made the end's polls and posted at least its requests (where the recorded
// run stopped), or the start of the poll after, or a key read in the end's
// poll that finds nothing queued. A recording made by another version of
// the program is played all the same, with a warning: its rules may differ.
using EndProgram = void (*)(int status);
void StartReplay(Session session, std::string who, std::string_view version, EndProgram end);
// Loads the recording at `path` and starts its replay; false, with `error`
// said, when the file cannot be read or is not sound.
bool StartReplayOf(const std::string& path, std::string who, std::string_view version, EndProgram end,
                   std::string& error);
// At the run's end: empty when no replay is under way or it reached its
// recorded end, else one line saying where it stopped short (the program
// ended by itself before the recorded end, or a time limit cut it off).
std::string ReplayStoppedShort(bool programEnded);

}  // namespace Recording
