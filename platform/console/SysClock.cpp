// SysClock: the local date and time from the clock seam, each field kept in
// its range; a recording sees each reading, a replay supplies them.
#include <algorithm>
#include <atomic>

#include "platform/console/Clock.h"
#include "platform/console/SysClock.h"
#include "platform/console/SysClockTap.h"

namespace SysClock {
namespace {

constexpr int32_t kZoneMin = -780;
constexpr int32_t kZoneMax = 720;

CARDINAL Clamp(int32_t value, int32_t low, int32_t high) {
    if (value < low) return CARDINAL(low);
    if (value > high) return CARDINAL(high);
    return CARDINAL(value);
}

std::atomic<void (*)(DateTime&)> supplier{nullptr};
std::atomic<void (*)(const DateTime&)> observer{nullptr};

void ReadClock(DateTime& dt) {
    const Clock::WallTime w = Clock::LocalTime();
    dt.year = CARDINAL(w.year);
    dt.month = Clamp(w.month, 1, 12);
    dt.day = Clamp(w.day, 1, 31);
    dt.hour = Clamp(w.hour, 0, 23);
    dt.minute = Clamp(w.minute, 0, 59);
    dt.second = Clamp(w.second, 0, 59);  // a leap second 60 reads as 59
    dt.fractions = Clamp(w.millisecond, 0, 999) * 100 / 1000;
    if (w.zoneKnown) {
        dt.zone = INTEGER(std::clamp(w.biasMinutes, kZoneMin, kZoneMax));
        dt.SummerTimeFlag = w.summerTime;
    } else {
        dt.zone = 0;
        dt.SummerTimeFlag = false;
    }
}

}  // namespace

void SetReadingTap(const ReadingTap& tap) {
    supplier.store(tap.supply);
    observer.store(tap.observe);
}

void GetClock(DateTime& dt) {
    if (auto supply = supplier.load()) {
        supply(dt);
    } else {
        ReadClock(dt);
    }
    if (auto observe = observer.load()) observe(dt);
}

}  // namespace SysClock
