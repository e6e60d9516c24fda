// The library generator, the delay, the clock reading and the real clock.
#include <gtest/gtest.h>

#include <ctime>
#include <vector>

#include "platform/console/Lib.h"
#include "platform/console/SysClock.h"
#include "tests/support/FakeClock.h"

using testsupport::FakeClock;
using testsupport::UseFakeClock;

namespace {

std::vector<CARDINAL> Draw(int n, CARDINAL range = 0) {
    std::vector<CARDINAL> v;
    for (int k = 0; k < n; ++k) v.push_back(Lib::RANDOM(range));
    return v;
}

class LibTest : public testing::Test {
protected:
    void SetUp() override { Lib::ModuleInit(); }
    FakeClock clock;
    UseFakeClock useClock{clock};

    void SetClock(int second, int millisecond) {
        clock.wall.second = second;
        clock.wall.millisecond = millisecond;
    }
};

}  // namespace

// Values worked out independently from the seeding steps and the additive rule.
TEST_F(LibTest, UnseededGeneratorSeedsWith12345AndDrawsAtTheFreshIndices) {
    EXPECT_EQ(Draw(5), (std::vector<CARDINAL>{8683, 32068, 70994, 49645, 95759}));
    Lib::ModuleInit();
    EXPECT_EQ(Draw(5, 1000), (std::vector<CARDINAL>{683, 68, 994, 645, 759}));
    Lib::ModuleInit();
    std::vector<CARDINAL> v = Draw(200);  // the indices wrap round the table
    EXPECT_EQ(v[55], 88977u);
    EXPECT_EQ(v[199], 1505465u);
}

TEST_F(LibTest, RangeZeroReturnsAll32BitsAndRangeOneAlwaysZero) {
    Draw(3000);  // the sums grow until they use the full word
    CARDINAL widest = 0;
    for (CARDINAL r : Draw(1000)) widest |= r;
    EXPECT_EQ(widest & 0x80000000u, 0x80000000u);
    for (CARDINAL r : Draw(1000, 1)) EXPECT_EQ(r, 0u);
    for (CARDINAL r : Draw(1000, 7)) EXPECT_LT(r, 7u);
}

TEST_F(LibTest, RandIsInZeroToOneFromTwoDraws) {
    EXPECT_DOUBLE_EQ(Lib::RAND(), 2101617131.0 / 4294967296.0);
    for (int k = 0; k < 100000; ++k) {
        LONGREAL r = Lib::RAND();
        ASSERT_GE(r, 0.0);
        ASSERT_LT(r, 1.0);
    }
}

TEST_F(LibTest, RandomizeSeedsWithSecondTimesHundredths) {
    SetClock(10, 500);  // 10 * 50 = 500
    Lib::RANDOMIZE();
    std::vector<CARDINAL> first = Draw(20);
    SetClock(20, 259);  // 20 * 25 = 500
    Lib::RANDOMIZE();
    EXPECT_EQ(Draw(20), first);
    SetClock(20, 269);  // 20 * 26 = 520
    Lib::RANDOMIZE();
    EXPECT_NE(Draw(20), first);
}

TEST_F(LibTest, ReadingsAtSecondZeroOrHundredthsZeroAllGiveSeedZero) {
    SetClock(0, 730);
    Lib::RANDOMIZE();
    std::vector<CARDINAL> seedZero = Draw(3);
    EXPECT_EQ(seedZero, (std::vector<CARDINAL>{38029, 68179, 18483}));
    SetClock(45, 9);  // 9 ms is hundredth 0
    Lib::RANDOMIZE();
    EXPECT_EQ(Draw(3), seedZero);
}

TEST_F(LibTest, DelayWaitsThroughTheClockWithoutOverflow) {
    Lib::Delay(250);
    EXPECT_EQ(clock.now, 250000u);
    Lib::Delay(0);
    EXPECT_EQ(clock.now, 250000u);
    Lib::Delay(4294967295u);
    EXPECT_EQ(clock.now, 250000u + 4294967295000ull);
}

TEST(SysClock, FieldsFromTheClock) {
    FakeClock clock;
    UseFakeClock use(clock);
    clock.wall = {2026, 12, 7, 10, 30, 15, 999, -60, true, false};
    SysClock::DateTime dt{};
    SysClock::GetClock(dt);
    EXPECT_EQ(dt.year, 2026u);
    EXPECT_EQ(dt.month, 12u);
    EXPECT_EQ(dt.day, 7u);
    EXPECT_EQ(dt.hour, 10u);
    EXPECT_EQ(dt.minute, 30u);
    EXPECT_EQ(dt.second, 15u);
    EXPECT_EQ(dt.fractions, 99u);
    EXPECT_EQ(dt.zone, -60);
    EXPECT_FALSE(dt.SummerTimeFlag);
    clock.wall.summerTime = true;
    SysClock::GetClock(dt);
    EXPECT_TRUE(dt.SummerTimeFlag);
}

TEST(SysClock, OutOfRangeFieldsAreClamped) {
    FakeClock clock;
    UseFakeClock use(clock);
    SysClock::DateTime dt{};
    clock.wall = {2026, 0, 0, -1, -5, -1, -20, -900, true, true};
    SysClock::GetClock(dt);
    EXPECT_EQ((std::vector<CARDINAL>{dt.month, dt.day, dt.hour, dt.minute, dt.second, dt.fractions}),
              (std::vector<CARDINAL>{1, 1, 0, 0, 0, 0}));
    EXPECT_EQ(dt.zone, -780);
    clock.wall = {2026, 13, 32, 24, 60, 60, 1500, 900, true, false};
    SysClock::GetClock(dt);
    EXPECT_EQ((std::vector<CARDINAL>{dt.month, dt.day, dt.hour, dt.minute, dt.second, dt.fractions}),
              (std::vector<CARDINAL>{12, 31, 23, 59, 59, 99}));
    EXPECT_EQ(dt.zone, 720);
    clock.wall.zoneKnown = false;  // a failed zone query: no bias, no summer time
    clock.wall.summerTime = true;
    SysClock::GetClock(dt);
    EXPECT_EQ(dt.zone, 0);
    EXPECT_FALSE(dt.SummerTimeFlag);
}

TEST(RealClock, LocalTimeMatchesTheSystemsZone) {
    Clock::WallTime w = Clock::RealClock().LocalTime();
    time_t now = time(nullptr);
    tm local{};
    localtime_r(&now, &local);
    EXPECT_TRUE(w.zoneKnown);
    EXPECT_EQ(w.biasMinutes, -local.tm_gmtoff / 60);
    EXPECT_EQ(w.summerTime, local.tm_isdst > 0);
    EXPECT_GE(w.month, 1);
    EXPECT_LE(w.month, 12);
    EXPECT_GE(w.millisecond, 0);
    EXPECT_LE(w.millisecond, 999);
}
