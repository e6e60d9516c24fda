// Keys for tests: key records posted into the console queue as a keyboard
// gives them, by the headless runner's script names (UP, SPACE, q, CTRL+c,
// SHIFT ...), and a queue whose reader fails instead of waiting for a key
// that never comes.
#pragma once
#include <stdexcept>
#include <string_view>

#include "platform/console/InputQueue.h"

namespace testsupport {

// The key-down record of the named key; throws std::invalid_argument for a
// name the runner does not know.
IO::KeyRecord KeyDown(std::string_view name);

// Posts one record.
void PostKey(const IO::KeyRecord& key);
// Posts the named key's key-down record alone (a key held down, or typed
// where only key-downs matter).
void PostKeyDown(std::string_view name);
// One press of the named key: key-down and key-up.
void PressKey(std::string_view name);

// The character of the oldest queued key, 0 when the queue is empty.
char FirstQueuedCharacter();

struct WaitedForKey : std::runtime_error {
    WaitedForKey() : std::runtime_error("the code waited for a key that was never typed") {}
};
// Empties the queue and the pending character; from then on a read that
// would wait for a key throws WaitedForKey.
void ResetKeysWithoutWaiting();

}  // namespace testsupport
