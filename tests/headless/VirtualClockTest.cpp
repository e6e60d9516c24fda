// The virtual clock: time moves only by waits, the wall clock follows it
// across midnight, month ends and leap days, and --clock is validated.
#include <gtest/gtest.h>

#include <vector>

#include "headless/VirtualClock.h"

namespace {

using Headless::CivilTime;
using Headless::ParseCivilTime;
using Headless::VirtualClock;
using Headless::WallTimeAfter;

CivilTime Parsed(const char* text) {
    CivilTime t;
    EXPECT_TRUE(ParseCivilTime(text, t)) << text;
    return t;
}

TEST(VirtualClockTest, RefusesMalformedOrImpossibleClocks) {
    CivilTime t;
    for (const char* bad : {"", "2000-01-01", "2000-01-01 00:00:00", "2000-01-01 00:00:00.0",
                            "2000-01-01 00:00:00.000", "2000-1-01 00:00:00.00", "2000-01-01T00:00:00.00",
                            "2000-13-01 00:00:00.00", "2000-00-10 00:00:00.00", "2023-02-29 00:00:00.00",
                            "2000-04-31 00:00:00.00", "2000-01-01 24:00:00.00", "2000-01-01 00:60:00.00",
                            "2000-01-01 00:00:60.00", "2000-01-01 00:00:00.-1", " 2000-01-01 00:00:00.00"}) {
        EXPECT_FALSE(ParseCivilTime(bad, t)) << bad;
    }
}

TEST(VirtualClockTest, WallClockCarriesAcrossDaysMonthsAndLeapYears) {
    Clock::WallTime w = WallTimeAfter(Parsed("2024-02-28 23:59:59.50"), 600);
    EXPECT_EQ(w.month, 2);
    EXPECT_EQ(w.day, 29);
    EXPECT_EQ(w.hour, 0);
    EXPECT_EQ(w.second, 0);
    EXPECT_EQ(w.millisecond, 100);

    w = WallTimeAfter(Parsed("1999-12-31 23:59:59.99"), 10);
    EXPECT_EQ(w.year, 2000);
    EXPECT_EQ(w.month, 1);
    EXPECT_EQ(w.day, 1);
    EXPECT_EQ(w.millisecond, 0);

    w = WallTimeAfter(Parsed("2100-02-28 12:00:00.00"), 86400000);  // 2100 is no leap year
    EXPECT_EQ(w.month, 3);
    EXPECT_EQ(w.day, 1);
    EXPECT_EQ(w.hour, 12);
    EXPECT_EQ(w.biasMinutes, 0);
    EXPECT_TRUE(w.zoneKnown);
    EXPECT_FALSE(w.summerTime);
}

TEST(VirtualClockTest, TimeMovesOnlyWhenWaitingAndNeverBack) {
    VirtualClock clock(Parsed("2000-01-01 00:00:00.00"));
    EXPECT_EQ(clock.NowUs(), 0u);
    EXPECT_EQ(clock.NowUs(), 0u);
    clock.SleepUntilUs(1500);
    EXPECT_EQ(clock.NowUs(), 1500u);
    clock.SleepUntilUs(1000);  // already passed: returns at once
    EXPECT_EQ(clock.NowUs(), 1500u);
    clock.AdvanceTo(20000);
    EXPECT_EQ(clock.NowUs(), 20000u);
    EXPECT_EQ(clock.LocalTime().millisecond, 20);
}

TEST(VirtualClockTest, ListenerSeesEveryDeadlineBeforeTimeMoves) {
    VirtualClock clock(Parsed("2000-01-01 00:00:00.00"));
    std::vector<std::pair<uint64_t, uint64_t>> seen;  // (deadline, time when told)
    clock.SetListener([&](uint64_t deadline) { seen.emplace_back(deadline, clock.NowUs()); });
    clock.SleepUntilUs(3000);
    clock.SleepUntilUs(2000);
    EXPECT_EQ(seen, (std::vector<std::pair<uint64_t, uint64_t>>{{3000, 0}, {2000, 3000}}));
}

}  // namespace
