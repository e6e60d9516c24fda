// Feeds key presses into the console queue for tests, and makes a read
// that would wait for a key fail instead of hanging.
#pragma once
#include <stdexcept>
#include <string_view>

#include "headless/KeyNames.h"
#include "platform/console/IO.h"
#include "platform/console/InputQueue.h"

namespace TestKeys {

struct WaitedForKey : std::runtime_error {
    WaitedForKey() : std::runtime_error("the code waited for a key that was never typed") {}
};

inline void ThrowOnWait() { throw WaitedForKey(); }

// Empties the queue and the pending character, and forbids waiting.
inline void Reset() {
    IO::ClearInput();
    IO::ModuleInit();
    IO::SetWaitHook(ThrowOnWait);
}

// One press: key-down and key-up, as a keyboard gives them.
inline void Press(std::string_view name) {
    Headless::KeyPress press;
    if (!Headless::KeyPressFor(name, press)) throw std::invalid_argument(std::string(name));
    IO::PostInput(IO::InputEvent{true, press.down});
    IO::PostInput(IO::InputEvent{true, press.up});
}

}  // namespace TestKeys
