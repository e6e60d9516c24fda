// Spin-then-futex manual-reset event (see GraphEvent.h).
#include "platform/graph/detail/GraphEvent.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <ctime>
#include <linux/futex.h>
#include <sys/syscall.h>
#include <unistd.h>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define GRAPH_CPU_RELAX() _mm_pause()
#elif defined(__aarch64__)
#define GRAPH_CPU_RELAX() asm volatile("yield")
#else
#define GRAPH_CPU_RELAX() ((void)0)
#endif

namespace Graph::detail {

namespace {

static_assert(sizeof(std::atomic<uint32_t>) == sizeof(uint32_t));

uint32_t* FutexWord(std::atomic<uint32_t>& a) { return reinterpret_cast<uint32_t*>(&a); }

// Sleeps while the word still holds `expected`; spurious returns are fine,
// the caller re-checks.
void FutexWait(std::atomic<uint32_t>& word, uint32_t expected, const timespec* timeout) {
    syscall(SYS_futex, FutexWord(word), FUTEX_WAIT_PRIVATE, expected, timeout, nullptr, 0);
}

void FutexWakeAll(std::atomic<uint32_t>& word) {
    syscall(SYS_futex, FutexWord(word), FUTEX_WAKE_PRIVATE, INT_MAX, nullptr, nullptr, 0);
}

timespec ToTimespec(std::chrono::nanoseconds ns) {
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(ns.count() / 1000000000);
    ts.tv_nsec = static_cast<long>(ns.count() % 1000000000);
    return ts;
}

}  // namespace

void ManualEvent::Set() {
    // Both this store and the sleeper's increment are sequentially
    // consistent: either we see the sleeper and wake it, or it sees the flag
    // before it sleeps (and the futex re-checks the word atomically).
    word_.state.store(1, std::memory_order_seq_cst);
    if (word_.sleepers.load(std::memory_order_seq_cst) != 0) FutexWakeAll(word_.state);
}

bool ManualEvent::Spin() {
    using Clock = std::chrono::steady_clock;
    // Most hand-offs end within a few hundred nanoseconds: look without
    // clock or bookkeeping first.
    for (int i = 0; i < kQuickPolls; ++i) {
        if (IsSet()) return true;
        GRAPH_CPU_RELAX();
    }
    // Only the one waiting thread counts its waits: no atomic increment needed.
    const uint32_t wait = waits_.load(std::memory_order_relaxed);
    waits_.store(wait + 1, std::memory_order_relaxed);
    const bool probe = wait % kProbeEvery == 0;
    const int64_t budget = probe ? kMaxSpinNs : spinNs_.load(std::memory_order_relaxed);
    const auto deadline = Clock::now() + std::chrono::nanoseconds(budget);
    bool set = false;
    for (;;) {
        for (int i = 0; i < 32 && !set; ++i) {
            set = IsSet();
            GRAPH_CPU_RELAX();
        }
        if (set || Clock::now() >= deadline) break;
    }
    set = set || IsSet();
    const int64_t next = set ? std::max(budget, std::min(kMaxSpinNs, budget * 2))
                             : std::max(kMinSpinNs, budget / 2);
    if ((!probe || set) && next != spinNs_.load(std::memory_order_relaxed))
        spinNs_.store(next, std::memory_order_relaxed);
    return set;
}

void ManualEvent::Wait() {
    if (Spin()) return;
    word_.sleepers.fetch_add(1, std::memory_order_seq_cst);
    while (word_.state.load(std::memory_order_seq_cst) == 0) FutexWait(word_.state, 0, nullptr);
    word_.sleepers.fetch_sub(1, std::memory_order_seq_cst);
}

bool ManualEvent::WaitFor(std::chrono::milliseconds timeout) {
    using Clock = std::chrono::steady_clock;
    if (Spin()) return true;
    const auto deadline = Clock::now() + timeout;
    word_.sleepers.fetch_add(1, std::memory_order_seq_cst);
    while (word_.state.load(std::memory_order_seq_cst) == 0) {
        const auto left = deadline - Clock::now();
        if (left <= std::chrono::nanoseconds::zero()) break;
        const timespec ts = ToTimespec(std::chrono::duration_cast<std::chrono::nanoseconds>(left));
        FutexWait(word_.state, 0, &ts);
    }
    word_.sleepers.fetch_sub(1, std::memory_order_seq_cst);
    return IsSet();
}

}  // namespace Graph::detail
