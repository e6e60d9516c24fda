// The manual-reset event behind the request hand-off.
#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/syscall.h>
#include <unistd.h>
#include <thread>
#include <gtest/gtest.h>
#include "platform/graph/detail/GraphEvent.h"

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

// The scheduler state of one thread of this process: 'S' while it sleeps in
// the kernel, 'R' while it runs or spins.
char ThreadState(pid_t tid) {
    std::ifstream stat("/proc/self/task/" + std::to_string(tid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const auto close = text.rfind(')');
    return close == std::string::npos || close + 2 >= text.size() ? '?' : text[close + 2];
}

// Waits until the thread sleeps; false if it never does within a generous bound.
bool EventuallySleeps(pid_t tid) {
    for (int i = 0; i < 500; ++i) {
        if (ThreadState(tid) == 'S') return true;
        std::this_thread::sleep_for(10ms);
    }
    return false;
}

TEST(ManualEvent, WakesAllBlockedWaitersAndTheyDoNotSpin) {
    ManualEvent e;
    std::atomic<int> woken{0};
    std::atomic<pid_t> tids[2] = {0, 0};
    auto waiter = [&](int k) {
        tids[k] = static_cast<pid_t>(syscall(SYS_gettid));
        e.Wait();
        ++woken;
    };
    std::thread a(waiter, 0), b(waiter, 1);
    while (tids[0] == 0 || tids[1] == 0) std::this_thread::yield();
    // A long wait must end up blocked in the kernel, not spinning.
    EXPECT_TRUE(EventuallySleeps(tids[0]));
    EXPECT_TRUE(EventuallySleeps(tids[1]));
    EXPECT_EQ(woken.load(), 0);
    e.Set();
    a.join();
    b.join();
    EXPECT_EQ(woken.load(), 2);
}
