// The menu's key rules (NavMenu), the speed text and the Close entry.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/GameState.h"
#include "shell/Shell.h"
#include "shell/StandardLib.h"
#include "tests/shell/KeyFeed.h"

namespace {

using KYR12::level;
using KYR12::Snelheid;

class NavMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestKeys::Reset();
        level = 1;
        Snelheid = 0.0f;
    }

    // Presses `key` and lets NavMenu handle it with the highlight on `d`.
    CARDINAL After(const char* key, CARDINAL d) {
        TestKeys::Press(key);
        NavMenu(d);
        return d;
    }
    void NavMenu(CARDINAL& d) {
        b = true;
        KYR12::NavMenu(d, b);
        IO::InputEvent up;
        IO::PopInput(up);  // the key-up
    }
    std::string SpeedText() {
        KYR12::snelheidoutput out;
        KYR12::snelheid(out);
        return std::string(out, strnlen(out, sizeof out));
    }

    BOOLEAN b = false;
};

TEST_F(NavMenuTest, UpAndDownMoveAndWrapAround) {
    EXPECT_EQ(After("UP", 1), 9u);
    EXPECT_EQ(After("DOWN", 9), 1u);
    EXPECT_EQ(After("UP", 5), 4u);
    EXPECT_EQ(After("DOWN", 5), 6u);
    EXPECT_FALSE(b);
}

TEST_F(NavMenuTest, SpaceAsksToPerformOtherKeysChangeNothing) {
    EXPECT_EQ(After("SPACE", 3), 3u);
    EXPECT_TRUE(b);
    for (const char* key : {"q", "ENTER", "CTRL+UP", "HOME"}) {
        EXPECT_EQ(After(key, 6), 6u) << key;
        EXPECT_FALSE(b) << key;
    }
    EXPECT_EQ(level, 1u);
    EXPECT_EQ(Snelheid, 0.0f);
}

TEST_F(NavMenuTest, LevelStaysWithinOneToEight) {
    After("LEFT", 6);
    EXPECT_EQ(level, 1u);
    for (int i = 0; i < 7; ++i) After("RIGHT", 6);
    EXPECT_EQ(level, 8u);
    After("RIGHT", 6);
    EXPECT_EQ(level, 8u);
    After("LEFT", 6);
    EXPECT_EQ(level, 7u);
}

TEST_F(NavMenuTest, LeftAndRightElsewhereChangeNothing) {
    for (CARDINAL d : {1u, 2u, 3u, 4u, 5u, 8u, 9u}) {
        EXPECT_EQ(After("RIGHT", d), d);
        EXPECT_EQ(After("LEFT", d), d);
    }
    EXPECT_EQ(level, 1u);
    EXPECT_EQ(Snelheid, 0.0f);
}

// The speed moves in 32-bit float steps of 0.01 that are never snapped to
// whole steps: some shown values are skipped, and the bottom ends a hair
// below zero.
TEST_F(NavMenuTest, SpeedRisesAndFallsInFloatSteps) {
    std::vector<std::string> up;
    for (int i = 0; i < 26; ++i) {
        After("RIGHT", 7);
        up.push_back(SpeedText());
    }
    const std::vector<std::string> expectedUp = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9",
                                                 "10", "11", "12", "13", "14", "15", "17", "18", "19", "20",
                                                 "21", "22", "23", "24", "25", "25"};
    EXPECT_EQ(up, expectedUp);
    EXPECT_EQ(Snelheid, 0.2500000298f);

    std::vector<std::string> down;
    for (int i = 0; i < 26; ++i) {
        After("LEFT", 7);
        down.push_back(SpeedText());
    }
    const std::vector<std::string> expectedDown = {"24", "23", "22", "21", "20", "18", "17", "16", "15",
                                                   "14", "13", "12", "11", "10", "9", "8", "7", "6",
                                                   "5", "4", "3", "2", "1", "0", "0", "0"};
    EXPECT_EQ(down, expectedDown);
    EXPECT_LT(Snelheid, 0.0f);
    EXPECT_GT(Snelheid, -0.00000002f);
}

TEST_F(NavMenuTest, CloseSetsTotalQuitAndWritesOneLineEnd) {
    KYR12::TOTALQUIT = false;
    testing::internal::CaptureStdout();
    KYR12::MenuDo(6);
    KYR12::MenuDo(7);
    EXPECT_FALSE(KYR12::TOTALQUIT);
    KYR12::MenuDo(9);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "\n");
    EXPECT_TRUE(KYR12::TOTALQUIT);
    KYR12::TOTALQUIT = false;
}

}  // namespace
