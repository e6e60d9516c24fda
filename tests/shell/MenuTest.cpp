// The menu's key rules (NavMenu) and the speed text, without a window.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "game/GameState.h"
#include "shell/Shell.h"
#include "tests/support/Keys.h"

namespace {

using KYR12::level;
using KYR12::Snelheid;

class NavMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::ResetKeysWithoutWaiting();
        level = 1;
        Snelheid = 0.0f;
    }
    // Presses `key` and lets NavMenu handle it with the highlight on `d`.
    CARDINAL After(const char* key, CARDINAL d) {
        testsupport::PressKey(key);
        b = true;
        KYR12::NavMenu(d, b);
        IO::InputEvent up;
        IO::PopInput(up);
        return d;
    }
    std::string SpeedText() {
        KYR12::snelheidoutput out;
        KYR12::snelheid(out);
        return std::string(out, strnlen(out, sizeof out));
    }
    BOOLEAN b = false;
};

TEST_F(NavMenuTest, HighlightWrapsLevelStopsAndOtherKeysChangeNothing) {
    EXPECT_EQ(After("UP", 1), 9u);
    EXPECT_EQ(After("DOWN", 9), 1u);
    EXPECT_EQ(After("SPACE", 3), 3u);
    EXPECT_TRUE(b);
    EXPECT_EQ(After("q", 6), 6u);
    EXPECT_FALSE(b);
    After("LEFT", 6);
    EXPECT_EQ(level, 1u);
    for (int i = 0; i < 8; ++i) After("RIGHT", 6);
    EXPECT_EQ(level, 8u);
    for (CARDINAL d : {1u, 5u, 8u, 9u}) {
        EXPECT_EQ(After("LEFT", d), d);
        EXPECT_EQ(After("RIGHT", d), d);
    }
    EXPECT_EQ(level, 8u);
    EXPECT_EQ(Snelheid, 0.0f);
}

// The speed moves in 32-bit float steps of 0.01 that are never snapped to
// whole steps: "16" is skipped going up, "19" going down, and the bottom
// ends a hair below zero.
TEST_F(NavMenuTest, SpeedRisesAndFallsInFloatSteps) {
    std::string up, down;
    for (int i = 0; i < 26; ++i) {
        After("RIGHT", 7);
        up += SpeedText() + " ";
    }
    EXPECT_EQ(up, "0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 17 18 19 20 21 22 23 24 25 25 ");
    EXPECT_EQ(Snelheid, 0.2500000298f);
    for (int i = 0; i < 26; ++i) {
        After("LEFT", 7);
        down += SpeedText() + " ";
    }
    EXPECT_EQ(down, "24 23 22 21 20 18 17 16 15 14 13 12 11 10 9 8 7 6 5 4 3 2 1 0 0 0 ");
    EXPECT_LT(Snelheid, 0.0f);
    EXPECT_GT(Snelheid, -0.00000002f);
}

}  // namespace
