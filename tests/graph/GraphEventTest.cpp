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
