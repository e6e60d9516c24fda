// A clock for tests: time moves only when the code under test waits, and
// the wall clock reads whatever the test put there.
#pragma once
#include "platform/console/Clock.h"

class FakeClock final : public Clock::Source {
public:
    uint64_t now = 0;
    Clock::WallTime wall{2026, 12, 7, 10, 30, 15, 500, -60, true, false};

    uint64_t NowUs() override { return now; }
    void SleepUntilUs(uint64_t deadline) override {
        if (deadline > now) now = deadline;
    }
    Clock::WallTime LocalTime() override { return wall; }
};

// Installs a fake clock for the lifetime of the guard.
class UseFakeClock {
public:
    explicit UseFakeClock(FakeClock& fake) { Clock::Use(fake); }
    ~UseFakeClock() { Clock::Use(Clock::RealClock()); }
};
