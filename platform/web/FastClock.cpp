// The page's full-speed clock (see FastClock.h).
#include "platform/web/FastClock.h"

#include "platform/console/Waits.h"

namespace Web {

uint64_t FastClock::NowUs() { return Clock::RealClock().NowUs() + skippedUs_; }

void FastClock::SleepUntilUs(uint64_t deadline) { WaitUntilUs(deadline, nullptr); }

void FastClock::WaitUntilUs(uint64_t deadline, bool (*done)()) {
    Waits::Pump(0);
    if (done != nullptr && done()) return;
    const uint64_t now = NowUs();
    if (deadline > now) skippedUs_ += deadline - now;
}

Clock::WallTime FastClock::LocalTime() { return Clock::RealClock().LocalTime(); }

}  // namespace Web
