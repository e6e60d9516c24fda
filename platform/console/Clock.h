// The clock seam. Every wait of the program (Lib.Delay, the idle key poll,
// the game's frame pacing) and every reading of the wall clock goes through
// the installed clock, so the same program runs on real time (pumping the
// window's events while it waits) or on a virtual clock that only advances
// when the program waits.
#pragma once
#include <cstdint>

#include "platform/console/Waits.h"

namespace Clock {

struct WallTime {
    int32_t year, month, day, hour, minute, second, millisecond;  // local time
    int32_t biasMinutes;   // UTC = local + bias
    bool zoneKnown;        // false when the time-zone query failed
    bool summerTime;       // daylight saving time in force
};

class Source {
public:
    virtual ~Source() = default;
    virtual uint64_t NowUs() = 0;                   // monotonic microseconds since the program started
    virtual void SleepUntilUs(uint64_t deadline) = 0;  // returns at once when the deadline has passed
    // Lets time pass until `deadline`, or until `done()` holds. By default
    // time passes in steps of a millisecond with `done` asked after each,
    // so that a virtual clock shows the program the same times as a loop
    // that polled every millisecond.
    virtual void WaitUntilUs(uint64_t deadline, bool (*done)());
    virtual WallTime LocalTime() = 0;
};

// The real clock (steady clock for waits, the system's local time and zone).
// Its waits pump the window's events (Waits::Pump) and end early when the
// run is asked to end.
Source& RealClock();
// Installs the clock used from now on; the real clock until changed.
void Use(Source& source);
Source& Current();

inline uint64_t NowUs() { return Current().NowUs(); }
// The program's waits: each first shows the window what was drawn so far,
// and ends the run (Waits::EndOfRun) when that was asked for.
inline void SleepUntilUs(uint64_t deadline) {
    Waits::BeforeWait();
    Current().SleepUntilUs(deadline);
    Waits::AfterWait();
}
inline void SleepUs(uint64_t us) { SleepUntilUs(Current().NowUs() + us); }
// An idle poll's wait: `us` at most, over as soon as input is waiting.
void WaitForInputUs(uint64_t us);
inline WallTime LocalTime() { return Current().LocalTime(); }

}  // namespace Clock
