// The clocks of the web page. Both read the real monotonic clock and the
// real local time; they differ in how the program's waits let time pass.
#pragma once
#include "platform/console/Clock.h"

namespace Web {

// The page's clock: a wait sleeps through the page's event pump (the
// browser runs meanwhile) until its deadline, rounded up to the next whole
// millisecond, or until it is over (a key for an idle poll, an end). It
// never spins: the browser's own clock cannot sleep precisely, and a page
// that spins keeps the browser from running.
class PageClock final : public Clock::Source {
public:
    uint64_t NowUs() override;
    void SleepUntilUs(uint64_t deadline) override;
    void WaitUntilUs(uint64_t deadline, bool (*done)()) override;
    Clock::WallTime LocalTime() override;
};

// For watching a replay at the page's full speed: every wait lets the page
// run once (its events, the frame just shown) and then skips the rest of
// the wait. What the program draws does not change: a replay takes its
// wall-clock readings and its keys from the recording, never from the time
// its waits take.
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
