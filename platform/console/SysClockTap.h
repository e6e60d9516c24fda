// What the program's clock readings (SysClock.GetClock) depend on besides the
// clock itself: a recording sees each reading, a replay supplies them.
#pragma once
#include "platform/console/SysClock.h"

namespace SysClock {

struct ReadingTap {
    void (*supply)(DateTime& dt) = nullptr;         // replaces the clock when set
    void (*observe)(const DateTime& dt) = nullptr;  // sees each reading given out
};

// Installs the tap; the default has neither.
void SetReadingTap(const ReadingTap& tap);

}  // namespace SysClock
