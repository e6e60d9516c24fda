// A manual-reset event for the hand-off between the caller's thread and the
// drawing thread. Set() leaves it set until Reset(); every waiter sees it.
//
// Waking a thread blocked in the kernel costs tens of microseconds, far more
// than most drawing requests take, so a waiter first spins on the flag for a
// short while (longer than one wake-up) and only then blocks on a futex. A
// thread that waits long therefore ends up blocked, not spinning.
//
// Spinning only pays while the thread being waited for is running. When the
// machine has more runnable threads than cores it often is not, and spinning
// then steals the very time it waits for. So the spin adapts: it doubles
// after a wait that the spin ended and halves after one that had to block,
// and every so often a wait tries the longest spin again.
#pragma once
#include <atomic>
#include <chrono>
#include <cstdint>

namespace Graph::detail {

class ManualEvent {
public:
    ManualEvent() = default;
    ManualEvent(const ManualEvent&) = delete;
    ManualEvent& operator=(const ManualEvent&) = delete;

    void Set();
    // Release order is enough: whoever waits next learns of the reset through
    // a later Set (sequentially consistent) of the other event.
    void Reset() { state_.store(0, std::memory_order_release); }
    bool IsSet() const { return state_.load(std::memory_order_acquire) != 0; }

    // Returns once the event is set.
    void Wait();
    // Returns true once the event is set, false when `timeout` passed first.
    bool WaitFor(std::chrono::milliseconds timeout);

    // Bounds of how long a waiter spins before it blocks.
    static constexpr int64_t kMaxSpinNs = 60'000;
    static constexpr int64_t kMinSpinNs = 2'000;
    // One wait in this many spins the longest time, to find out whether
    // spinning pays again.
    static constexpr uint32_t kProbeEvery = 16;
    // Polls before the timed spin starts.
    static constexpr int kQuickPolls = 64;

private:
    // Spins while the event is clear, for the current spin time; true when it got set.
    bool Spin();

    // The flag and the sleeper count share a cache line that both threads
    // touch; the waiter's own bookkeeping lives on another one.
    alignas(64) std::atomic<uint32_t> state_{0};
    std::atomic<uint32_t> sleepers_{0};
    alignas(64) std::atomic<int64_t> spinNs_{kMaxSpinNs};
    std::atomic<uint32_t> waits_{0};
};

}  // namespace Graph::detail
