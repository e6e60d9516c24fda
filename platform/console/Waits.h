// The program's waits: Lib.Delay, the game's frame pacing, an idle key poll
// and IO.RdKey waiting for a key. All of them run on the program's one
// thread. Each wait first shows the window what was drawn so far (the
// program installs that hook: the window layer sits above this one), lets
// the window's events be handled while time passes (the event pump), and
// is where a request to end the run takes effect: it throws EndOfRun,
// which unwinds the program to its entry.
#pragma once
#include <cstdint>

namespace Waits {

struct FrameHooks {
    void (*publishFrame)() = nullptr;     // shows every request posted so far
    uint64_t (*requestsPosted)() = nullptr;  // drawing requests posted so far
};

// Installs the hooks; the default does nothing and counts no drawing.
void SetFrameHooks(const FrameHooks& hooks);

// Why a run ends before its program returns.
enum class EndCause : uint8_t {
    Closed,    // the window was closed or destroyed
    Signal,    // interrupt, termination or hang-up
    Stopped,   // the runner stopped it: a script's end, a replay's end
    TimeLimit, // the runner's time limit (kyr-headless --until)
};

// Thrown at the wait where an end request takes effect; caught where the
// program was started (platform/runtime). Nothing else throws it.
struct EndOfRun {
    EndCause cause = EndCause::Closed;
    int status = 0;   // the status to end with
    int signal = 0;   // the signal, for EndCause::Signal
};

// Program thread, before every wait: publishes the frame, runs the wait
// listeners, then throws EndOfRun if an end was asked for.
void BeforeWait();
// Program thread, after every wait: throws EndOfRun if an end was asked for.
void AfterWait();

// Adds a function called at every wait after the frame is published, before
// an end request takes effect: the real program flushes its request trace
// there, a recording notes how far the program has drawn, a replay checks
// for its end. None by default; up to kMaxWaitListeners.
inline constexpr int kMaxWaitListeners = 4;
void AddWaitListener(void (*listener)());
// Removes every listener (the end of a run).
void ClearWaitListeners();

// Drawing requests posted so far (0 without hooks).
uint64_t RequestsPosted();

// Any thread except a signal handler: asks the run to end at the program's
// next wait, or at once when it is waiting. The first request wins.
void RequestEnd(EndCause cause, int status);
// Signal handlers: the same for `signal`, without waking anybody (a
// waiting pump notices within kMaxPumpMs, or at once when the signal
// interrupts it).
void RequestEndBySignal(int signal);
// True once an end was asked for; `end` receives it.
bool EndRequested(EndOfRun* end = nullptr);
// Forgets a request (tests).
void ClearEndRequest();

// The event pump: what a wait does with the window while time passes.
class EventPump {
public:
    virtual ~EventPump() = default;
    // Program thread: handles the events that are waiting, then waits for
    // the next one at most `timeoutMs` (0: not at all), or until Wake().
    virtual void Pump(int timeoutMs) = 0;
    // Any thread (not a signal handler): makes a waiting Pump return.
    virtual void Wake() = 0;
};
// The window installs its pump while it is open; nullptr goes back to the
// plain one, which only waits for the time or a Wake().
void SetEventPump(EventPump* pump);
// Program thread: pumps for at most `timeoutMs`, never longer than kMaxPumpMs.
void Pump(int timeoutMs);
// Any thread (not a signal handler): wakes a waiting Pump.
void Wake();
// The longest one pump waits, so that an end asked for from a signal
// handler is noticed soon even when the signal did not interrupt it.
inline constexpr int kMaxPumpMs = 100;

// When the run must end where no wait can unwind it (the display's
// connection is lost inside the window system, which does not let its
// error handler return): the runtime's last words (the recording's end
// line, the trace flushed, the terminal restored), then _exit(status).
void SetAbruptEndHook(void (*hook)(int status));
[[noreturn]] void EndAbruptly(int status);

}  // namespace Waits
