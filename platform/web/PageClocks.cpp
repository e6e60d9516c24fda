// The web page's clocks (see PageClocks.h).
#include "platform/web/PageClocks.h"

#include "platform/console/Waits.h"

namespace Web {

namespace {

bool EndAsked() { return Waits::EndRequested(); }

}  // namespace

uint64_t PageClock::NowUs() { return Clock::RealClock().NowUs(); }

void PageClock::SleepUntilUs(uint64_t deadline) { WaitUntilUs(deadline, EndAsked); }

// At least one pump, however late the wait starts: a game slower than its
// pace still lets the page show its frame and hear its keys.
void PageClock::WaitUntilUs(uint64_t deadline, bool (*done)()) {
    for (bool pumped = false;; pumped = true) {
        const uint64_t now = NowUs();
        if ((now >= deadline || (done != nullptr && done())) && pumped) return;
        const uint64_t left = now < deadline ? deadline - now : 0;
        Waits::Pump(static_cast<int>((left + 999) / 1000));
    }
}

Clock::WallTime PageClock::LocalTime() { return Clock::RealClock().LocalTime(); }

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
