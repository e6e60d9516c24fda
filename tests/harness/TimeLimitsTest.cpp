// How the ceilings of waits on other programs stretch: with the load per
// processor, between once and four times; with KYR_TEST_TIME_SCALE when it
// is a number from 1 up; never shorter than written.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

#include "tests/support/TimeLimits.h"

namespace {

using namespace std::chrono_literals;

TEST(TimeLimits, TheLoadPerProcessorStretchesALimitBetweenOnceAndFourTimes) {
    const struct {
        double load;
        long processors;
        double factor;
    } cases[] = {
        {0.0, 2, 1.0}, {1.5, 2, 1.0}, {2.0, 2, 1.0}, {3.0, 2, 1.5}, {6.0, 2, 3.0},
        {50.0, 2, 4.0}, {3.0, 0, 1.0}, {NAN, 2, 1.0}, {-1.0, 2, 1.0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(testsupport::LoadFactor(c.load, c.processors), c.factor) << c.load << " on " << c.processors;
}

TEST(TimeLimits, TheScaleVariableCountsOnlyAsANumberFromOneUp) {
    const struct {
        const char* text;
        double scale;
    } cases[] = {
        {"3", 3.0}, {"1", 1.0}, {"2.5", 2.5}, {"0.5", 1.0}, {nullptr, 1.0}, {"", 1.0},
        {"slow", 1.0}, {"2x", 1.0}, {"0", 1.0}, {"-2", 1.0}, {"1e9", 1.0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(testsupport::ScaleFromText(c.text), c.scale) << (c.text ? c.text : "(unset)");
}

TEST(TimeLimits, ALimitIsNeverShortenedByTheLoad) {
    EXPECT_GE(testsupport::ScaledToLoad(10s), 10s);
    EXPECT_GE(testsupport::ScaledToLoad(250ms), 250ms);
}

}  // namespace
