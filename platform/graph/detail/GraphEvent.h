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

// The words other threads look at: the flag and the count of threads asleep
// on it. They may live inside a larger record (see GraphService.h), so that
// one cache line carries both events and the request they guard.
struct EventWord {
    std::atomic<uint32_t> state{0};
    std::atomic<uint32_t> sleepers{0};
};

class ManualEvent {
public:
    ManualEvent() : word_(own_) {}
    explicit ManualEvent(EventWord& shared) : word_(shared) {}
    ManualEvent(const ManualEvent&) = delete;
    ManualEvent& operator=(const ManualEvent&) = delete;

    void Set();
    // Release order is enough: whoever waits next learns of the reset through
    // a later Set (sequentially consistent) of the other event.
    void Reset() { word_.state.store(0, std::memory_order_release); }
    bool IsSet() const { return word_.state.load(std::memory_order_acquire) != 0; }

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

    alignas(64) EventWord own_;   // used when no shared word is given
    EventWord& word_;
    // The waiter's own bookkeeping, away from the words both threads touch.
    alignas(64) std::atomic<int64_t> spinNs_{kMaxSpinNs};
    std::atomic<uint32_t> waits_{0};
};

}  // namespace Graph::detail
