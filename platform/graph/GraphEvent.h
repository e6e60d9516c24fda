// A manual-reset event for the hand-off between the caller's thread and the
// drawing thread. Set() leaves it set until Reset(); every waiter sees it.
//
// Waking a thread blocked in the kernel costs tens of microseconds on a busy
// machine, far more than most drawing requests take, so a waiter first spins
// on the flag for a short while (longer than one wake-up) and only then
// blocks on a futex. A thread that waits long therefore ends up blocked, not
// spinning.
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
    void Reset() { state_.store(0, std::memory_order_seq_cst); }
    bool IsSet() const { return state_.load(std::memory_order_acquire) != 0; }

    // Returns once the event is set.
    void Wait();
    // Returns true once the event is set, false when `timeout` passed first.
    bool WaitFor(std::chrono::milliseconds timeout);

    // How long a waiter spins before it blocks.
    static constexpr std::chrono::microseconds kSpinTime{60};

private:
    bool SpinUntilSet() const;

    alignas(64) std::atomic<uint32_t> state_{0};
    std::atomic<uint32_t> sleepers_{0};
};

}  // namespace Graph::detail
