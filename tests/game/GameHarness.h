// The game's tests share this: a fixture with the program freshly
// initialised (level 1, speed 0, offscreen window) on a fake clock whose
// waits take no real time, and objects placed straight into the level.
#pragma once
#include <gtest/gtest.h>

#include "game/GameState.h"
#include "tests/support/FakeClock.h"
#include "tests/support/Keys.h"
#include "tests/support/TraceRecorder.h"

namespace gametest {

using testsupport::FakeClock;
using testsupport::LinesStartingWith;
using testsupport::PostKeyDown;
using testsupport::TraceRecorder;

// Objects placed straight into the level; the counter grows to cover them.
void PlaceEnemy(CARDINAL i, QX3D::Vector position, QX3D::Vector course = {0.0f, 0.0f, 0.0f});
void PlacePlayerBullet(CARDINAL j, QX3D::Vector position);
void PlaceEnemyBullet(CARDINAL j, QX3D::Vector position);

class GameTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    FakeClock clock;
};

}  // namespace gametest
