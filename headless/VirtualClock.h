// A clock that only moves when the program waits. Every wait first lets a
// listener act on the time span it covers (the runner posts scripted keys,
// takes snapshots and ends the run there); then time stands at the deadline.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <string_view>

#include "platform/console/Clock.h"

namespace Headless {

// A local date and time to the hundredth of a second.
struct CivilTime {
    int year = 2000, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0, hundredths = 0;
};

// "YYYY-MM-DD HH:MM:SS.CC" with every field in its range (the day within its month).
bool ParseCivilTime(std::string_view text, CivilTime& out);

// The wall clock `ms` milliseconds after `start`, in zone UTC without summer time.
Clock::WallTime WallTimeAfter(const CivilTime& start, uint64_t ms);

class VirtualClock : public Clock::Source {
public:
    explicit VirtualClock(const CivilTime& start) : start_(start) {}

    uint64_t NowUs() override { return now_.load(); }
    // Tells the listener the deadline (also one already passed), then
    // moves time to it. The listener may move time itself, never back.
    void SleepUntilUs(uint64_t deadline) override;
    Clock::WallTime LocalTime() override { return WallTimeAfter(start_, now_.load() / 1000); }

    // Moves time forward to `us`; an earlier time is ignored.
    void AdvanceTo(uint64_t us);
    void SetListener(std::function<void(uint64_t deadlineUs)> listener) { listener_ = std::move(listener); }

private:
    CivilTime start_;
    std::atomic<uint64_t> now_{0};
    std::function<void(uint64_t)> listener_;
};

}  // namespace Headless
