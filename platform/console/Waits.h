// The program's waits: Lib.Delay, the game's frame pacing, an idle key poll
// that yields, and IO.RdKey waiting for a key. Each wait first lets the
// window show what was drawn so far (the program installs that hook: the
// window layer sits above this one), and is where a request to end the
// program from another thread (the window was closed, the display is gone)
// takes effect, on the program's own thread.
#pragma once
#include <cstdint>

namespace Waits {

struct FrameHooks {
    void (*publishFrame)() = nullptr;     // shows every request posted so far
    uint64_t (*requestsPosted)() = nullptr;  // drawing requests posted so far
};

// Installs the hooks; the default does nothing and counts no drawing.
void SetFrameHooks(const FrameHooks& hooks);

// Program thread, before every wait: publishes the frame, then ends the
// program if that was asked for (std::exit: the exit handlers stop the
// window and restore the terminal).
void BeforeWait();

// Adds a function called at every wait after the frame is published, before
// an end request takes effect: the real program flushes its request trace
// there, a recording notes how far the program has drawn, a replay checks
// for its end. None by default; up to kMaxWaitListeners.
inline constexpr int kMaxWaitListeners = 4;
void AddWaitListener(void (*listener)());

// Drawing requests posted so far (0 without hooks).
uint64_t RequestsPosted();

// Any thread: asks the program to end with `status` at its next wait. The
// first request wins. Wakes a reader blocked on the input queue.
void RequestEnd(int status);
// True once an end was asked for; `status` receives its status.
bool EndRequested(int* status = nullptr);
// Forgets a request (tests).
void ClearEndRequest();

}  // namespace Waits
