// The real clock behind the clock seam, and the slot that says which clock
// the program uses.
#include "platform/console/Clock.h"

#include <atomic>
#include <cerrno>
#include <ctime>

#include "platform/console/InputQueue.h"

namespace Clock {
namespace {

constexpr uint64_t kNsPerUs = 1000;
constexpr uint64_t kNsPerSecond = 1000000000;

uint64_t MonotonicNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return uint64_t(ts.tv_sec) * kNsPerSecond + uint64_t(ts.tv_nsec);
}

// Monotonic waits count from the first use of the real clock; local time
// comes from the system's wall clock and time-zone rules.
class RealSource final : public Source {
public:
    RealSource() : startNs_(MonotonicNs()) {}

    uint64_t NowUs() override { return (MonotonicNs() - startNs_) / kNsPerUs; }

    void SleepUntilUs(uint64_t deadline) override { WaitUntilUs(deadline, EndAsked); }

    // Pumps the window's events until less than a millisecond is left, then
    // sleeps the rest precisely. It pumps at least once, however late the
    // wait starts: a game slower than its pace still hears its window.
    void WaitUntilUs(uint64_t deadline, bool (*done)()) override {
        for (bool pumped = false;; pumped = true) {
            const uint64_t now = NowUs();
            const uint64_t left = now < deadline ? deadline - now : 0;
            const bool finished = done != nullptr && done();
            if (finished || left < 1000) {
                if (!pumped) Waits::Pump(0);
                if (!finished && left > 0) SleepPreciselyUntil(deadline);
                return;
            }
            Waits::Pump(static_cast<int>(left / 1000));
        }
    }

    WallTime LocalTime() override {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        time_t seconds = now.tv_sec;
        tm local{};
        WallTime w{};
        if (localtime_r(&seconds, &local) == nullptr) {
            return w;  // all zero, zone unknown: the readers clamp the fields
        }
        w.year = local.tm_year + 1900;
        w.month = local.tm_mon + 1;
        w.day = local.tm_mday;
        w.hour = local.tm_hour;
        w.minute = local.tm_min;
        w.second = local.tm_sec;
        w.millisecond = int32_t(now.tv_nsec / 1000000);
        // tm_gmtoff is seconds east of UTC; the bias is minutes to add to
        // local time to reach UTC.
        w.biasMinutes = int32_t(-local.tm_gmtoff / 60);
        w.zoneKnown = true;
        w.summerTime = local.tm_isdst > 0;
        return w;
    }

private:
    static bool EndAsked() { return Waits::EndRequested(); }

    // Sleeps to an absolute deadline so that repeated waits do not drift,
    // and resumes after signal interruptions.
    void SleepPreciselyUntil(uint64_t deadline) {
        uint64_t targetNs = startNs_ + deadline * kNsPerUs;
        timespec ts{};
        ts.tv_sec = time_t(targetNs / kNsPerSecond);
        ts.tv_nsec = long(targetNs % kNsPerSecond);
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR) {
            if (Waits::EndRequested()) return;
        }
    }

    uint64_t startNs_;
};

bool InputOrEnd() { return IO::InputWaiting() || Waits::EndRequested(); }

std::atomic<Source*> installed{nullptr};

}  // namespace

Source& RealClock() {
    static RealSource* real = new RealSource();  // never destroyed: usable during exit
    return *real;
}

void Use(Source& source) { installed.store(&source); }

Source& Current() {
    Source* s = installed.load();
    return s != nullptr ? *s : RealClock();
}

void Source::WaitUntilUs(uint64_t deadline, bool (*done)()) {
    constexpr uint64_t kStepUs = 1000;
    for (uint64_t now = NowUs(); now < deadline && (done == nullptr || !done()); now = NowUs())
        SleepUntilUs(deadline - now > kStepUs ? now + kStepUs : deadline);
}

void WaitForInputUs(uint64_t us) {
    Waits::BeforeWait();
    Source& clock = Current();
    clock.WaitUntilUs(clock.NowUs() + us, InputOrEnd);
    Waits::AfterWait();
}

}  // namespace Clock
