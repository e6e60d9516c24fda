// Keys for tests: key records posted into the console queue as a keyboard
// gives them, by the headless runner's script names (UP, SPACE, q, CTRL+c,
// SHIFT ...), and a queue whose reader fails instead of waiting for a key
// that never comes.
#pragma once
#include <stdexcept>
#include <string>
#include <string_view>

#include "headless/KeyNames.h"
#include "platform/console/IO.h"
#include "platform/console/InputQueue.h"

namespace testsupport {

// The named key's records; throws std::invalid_argument for a name the
// runner does not know.
inline Headless::KeyPress KeyPressOf(std::string_view name) {
    Headless::KeyPress press;
    if (!Headless::KeyPressFor(name, press)) throw std::invalid_argument("no key is named " + std::string(name));
    return press;
}
inline IO::KeyRecord KeyDown(std::string_view name) { return KeyPressOf(name).down; }

inline void PostKey(const IO::KeyRecord& key) { IO::PostInput(IO::InputEvent{true, key}); }
// The named key's key-down record alone (a key held down, or typed where
// only key-downs matter).
inline void PostKeyDown(std::string_view name) { PostKey(KeyDown(name)); }
// One press of the named key: key-down and key-up.
inline void PressKey(std::string_view name) {
    const Headless::KeyPress press = KeyPressOf(name);
    PostKey(press.down);
    PostKey(press.up);
}

// The character of the oldest queued key, 0 when the queue is empty.
inline char FirstQueuedCharacter() {
    IO::InputEvent e;
    return IO::PeekInput(e) ? static_cast<char>(e.key.asciiChar) : '\0';
}

struct WaitedForKey : std::runtime_error {
    WaitedForKey() : std::runtime_error("the code waited for a key that was never typed") {}
};
// Empties the queue and the pending character; from then on a read that
// would wait for a key throws WaitedForKey.
inline void ResetKeysWithoutWaiting() {
    IO::ClearInput();
    IO::ModuleInit();
    IO::SetWaitHook([] { throw WaitedForKey(); });
}

}  // namespace testsupport
