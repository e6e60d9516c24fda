// The console input queue: events that carry what the original console's key
// records carry. Sources (the terminal, the SDL window, a pipe, scripted keys)
// post events from any thread; IO reads them on the program's thread.
#pragma once
#include <cstdint>

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

struct InputEvent {
    bool isKey = true;    // false: a non-key event (mouse, focus, menu, buffer size)
    KeyRecord key;
};

// Thread-safe: appends one event and wakes a waiting reader.
void PostInput(const InputEvent& event);
// Program thread: the oldest event without removing it; false when empty.
bool PeekInput(InputEvent& event);
// Program thread: removes the oldest event; false when empty.
bool PopInput(InputEvent& event);
// Removes every queued event (tests).
void ClearInput();

// Waiting for input when the queue is empty. By default the caller blocks
// until a source posts an event. A runner may install a hook instead (the
// headless runner advances its virtual clock to the next scripted key, or
// ends the run when none is left). The hook returns once the queue is not
// empty.
using WaitHook = void (*)();
void SetWaitHook(WaitHook hook);
// Blocks until the queue holds an event, or the program was asked to end.
void WaitForInput();
// Any thread: wakes a reader blocked in WaitForInput to look again.
void WakeReader();

}  // namespace IO
