// A clock for watching a replay at the page's full speed: every wait lets
// the page run once (its events, the frame just shown) and then skips the
// rest of the wait. What the program draws does not change: a replay takes
// its wall-clock readings and its keys from the recording, never from the
// time its waits take.
#pragma once
#include "platform/console/Clock.h"

namespace Web {

class FastClock final : public Clock::Source {
public:
    uint64_t NowUs() override;
    void SleepUntilUs(uint64_t deadline) override;
    void WaitUntilUs(uint64_t deadline, bool (*done)()) override;
    Clock::WallTime LocalTime() override;

private:
    uint64_t skippedUs_ = 0;
};

}  // namespace Web
