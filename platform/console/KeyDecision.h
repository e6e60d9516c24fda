// What IO.RdKey makes of one key record: skip it, return its character, or
// return 0 with a second code that the next IO.RdKey returns.
#pragma once
#include <cstdint>

#include "platform/console/InputQueue.h"

namespace IO {

struct KeyDecision {
    enum Kind { Skip, Char, TwoPart };
    Kind kind;
    uint8_t ch;      // Char: the character returned
    uint8_t second;  // TwoPart: the second half (0: nothing left pending)
};

// Decides by the control-key state without the lock bits.
KeyDecision DecideKey(const KeyRecord& key);

}  // namespace IO
