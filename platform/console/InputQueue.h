// The console input queue: events that carry what the original console's key
// records carry. Sources (the terminal, the SDL window, a pipe, scripted keys)
// post events from any thread into an inbox; the program sees them only once
// a key poll (IO.KeyPressed, IO.RdKey) has moved them into its queue. What
// the program does thus depends only on which events each poll received,
// which is what a recording keeps and a replay gives back.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace IO {

// Control-key state bits of a key record.
inline constexpr uint32_t RIGHT_ALT_PRESSED = 0x0001;
inline constexpr uint32_t LEFT_ALT_PRESSED = 0x0002;
inline constexpr uint32_t RIGHT_CTRL_PRESSED = 0x0004;
inline constexpr uint32_t LEFT_CTRL_PRESSED = 0x0008;
inline constexpr uint32_t SHIFT_PRESSED = 0x0010;
inline constexpr uint32_t NUMLOCK_ON = 0x0020;
inline constexpr uint32_t SCROLLLOCK_ON = 0x0040;
inline constexpr uint32_t CAPSLOCK_ON = 0x0080;
inline constexpr uint32_t ENHANCED_KEY = 0x0100;

struct KeyRecord {
    bool keyDown = true;
    uint16_t repeatCount = 1;
    uint16_t virtualKeyCode = 0;
    uint16_t virtualScanCode = 0;
    uint8_t asciiChar = 0;
    uint32_t controlKeyState = 0;
};

// What a non-key event was. The program drops them all alike; recordings
// keep them apart so that a replay gives back exactly what was received.
enum class OtherEvent : uint8_t { Other = 0, Mouse = 1, Focus = 2, Menu = 3, Size = 4 };
inline constexpr uint8_t kLastOtherEvent = 4;

struct InputEvent {
    bool isKey = true;    // false: a non-key event (mouse, focus, menu, buffer size)
    KeyRecord key;
    OtherEvent other = OtherEvent::Other;  // a non-key event's kind
};

// Thread-safe: appends one event to the inbox and wakes the program's wait
// (Waits::Wake).
void PostInput(const InputEvent& event);
// Whether the inbox holds an event (any thread).
bool InputWaiting();
// Tests and tools: the oldest event waiting, in the queue or still in the
// inbox, without removing it; false when there is none.
bool PeekInput(InputEvent& event);
// Tests and tools: removes the oldest event waiting; false when there is none.
bool PopInput(InputEvent& event);
// Removes every waiting event (tests).
void ClearInput();

// Key polls. IO calls StartPoll at the start of each KeyPressed and RdKey
// call: the poll gets the next number (1, 2, 3 ...) and the inbox moves into
// the queue. Between polls the queue changes only by the program's reads.
void StartPoll();
// The current poll's number; 0 before the first. Safe from any thread and
// from a signal handler.
uint64_t PollNumber();
// Numbers the next poll 1 again (IO's module initialisation).
void ResetPolls();
// Program thread: the oldest event the polls delivered, without removing
// it / removing it; false when the queue is empty.
bool PeekQueued(InputEvent& event);
bool PopQueued(InputEvent& event);

// Waiting for input when the queue is empty (IO.RdKey). By default the
// caller pumps the window's events (Waits::Pump) until a source posts an
// event or the run is asked to end. A runner may install a hook
// instead (the headless runner advances its virtual clock to the next
// scripted key, or ends the run when none is left). The hook returns once
// the inbox is not empty.
using WaitHook = void (*)();
void SetWaitHook(WaitHook hook);
// Program thread: waits until the inbox holds an event, or the program was
// asked to end; then moves the inbox into the queue, within the same poll.
void WaitForInput();

// A recording sees what each move into the queue delivered, on the program
// thread, tagged with the poll it happened in.
using DeliveryObserver = void (*)(uint64_t poll, const std::vector<InputEvent>& events);
void SetDeliveryObserver(DeliveryObserver observer);

// A replay takes the inbox's place: each poll's events come from the feed,
// and live events are dropped.
class InputFeed {
public:
    virtual ~InputFeed() = default;
    // At the start of poll `poll`: appends its events to `events`.
    virtual void EventsForPoll(uint64_t poll, std::vector<InputEvent>& events) = 0;
    // IO.RdKey waits in poll `poll` with nothing queued: the feed holds no
    // more for that poll, so it ends the program; it does not return.
    virtual void Exhausted(uint64_t poll) = 0;
};
// nullptr goes back to the inbox.
void SetInputFeed(InputFeed* feed);
// Whether a replay's feed gives the input.
bool Replaying();

}  // namespace IO
