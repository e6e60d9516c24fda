// A clock for tests: time moves only when the code under test waits (to the
// deadline, never back), and the wall clock reads whatever the test put
// there. A hook sees every wait, e.g. to trace it or to act once per frame.
#pragma once
#include <cstdint>
#include <functional>

#include "platform/console/Clock.h"

namespace testsupport {

class FakeClock final : public Clock::Source {
public:
    uint64_t now = 0;
    Clock::WallTime wall{2026, 12, 7, 10, 30, 15, 500, -60, true, false};
    // Runs after time has moved, with the time the wait began at and the
    // deadline asked for (which may lie in the past).
    std::function<void(uint64_t from, uint64_t deadline)> afterWait;

    uint64_t NowUs() override { return now; }
    void SleepUntilUs(uint64_t deadline) override {
        const uint64_t from = now;
        if (deadline > now) now = deadline;
        if (afterWait) afterWait(from, deadline);
    }
    Clock::WallTime LocalTime() override { return wall; }
};

// Installs a fake clock for the lifetime of the guard.
class UseFakeClock {
public:
    explicit UseFakeClock(FakeClock& fake) { Clock::Use(fake); }
    ~UseFakeClock() { Clock::Use(Clock::RealClock()); }
    UseFakeClock(const UseFakeClock&) = delete;
    UseFakeClock& operator=(const UseFakeClock&) = delete;
};

}  // namespace testsupport
