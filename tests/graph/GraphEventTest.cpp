// The manual-reset event behind the request hand-off.
#include <atomic>
#include <chrono>
#include <sys/resource.h>
#include <thread>
#include <gtest/gtest.h>
#include "platform/graph/GraphEvent.h"

using Graph::detail::ManualEvent;
using namespace std::chrono_literals;

TEST(ManualEvent, StaysSetForEveryWaiterUntilReset) {
    ManualEvent e;
    EXPECT_FALSE(e.WaitFor(1ms));
    e.Set();
    e.Wait();
    e.Wait();
    EXPECT_TRUE(e.WaitFor(0ms));
    e.Reset();
    EXPECT_FALSE(e.IsSet());
    EXPECT_FALSE(e.WaitFor(2ms));
}

TEST(ManualEvent, WakesAllBlockedWaitersAndTheyDoNotSpin) {
    ManualEvent e;
    std::atomic<int> woken{0};
    std::atomic<long> cpuMicros{0};
    auto waiter = [&] {
        e.Wait();
        rusage usage{};
        getrusage(RUSAGE_THREAD, &usage);
        cpuMicros += usage.ru_utime.tv_sec * 1000000L + usage.ru_utime.tv_usec +
                     usage.ru_stime.tv_sec * 1000000L + usage.ru_stime.tv_usec;
        ++woken;
    };
    std::thread a(waiter), b(waiter);
    std::this_thread::sleep_for(300ms);   // far beyond the spin: both must be asleep
    EXPECT_EQ(woken.load(), 0);
    e.Set();
    a.join();
    b.join();
    EXPECT_EQ(woken.load(), 2);
    // Spinning through the whole wait would have cost about 600 ms of CPU.
    EXPECT_LT(cpuMicros.load(), 150000);
}

// Two threads passing a token back and forth with a pair of events, as the
// caller and the drawing thread do: no hand-off may be lost or doubled.
TEST(ManualEvent, PingPongLosesNoHandOff) {
    ManualEvent posted, idle;
    constexpr int kRounds = 200000;
    int shared = 0;
    std::thread worker([&] {
        idle.Set();
        for (int i = 0; i < kRounds; ++i) {
            posted.Wait();
            posted.Reset();
            shared += 1;
            idle.Set();
        }
    });
    for (int i = 0; i < kRounds; ++i) {
        idle.Wait();
        idle.Reset();
        ASSERT_EQ(shared, i);
        posted.Set();
    }
    worker.join();
    EXPECT_EQ(shared, kRounds);
}
