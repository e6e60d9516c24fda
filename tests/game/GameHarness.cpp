#include "tests/game/GameHarness.h"

#include <algorithm>

#include "game/Game.h"
#include "platform/console/IO.h"
#include "platform/console/Lib.h"
#include "platform/console/InputQueue.h"
#include "platform/console/Waits.h"
#include "platform/graph/GraphFrames.h"
#include "platform/graph/Graph.h"
#include "platform/graph/GraphProbe.h"
#include "shell/StandardLib.h"
#include "tests/support/LevelOneGame.h"
#include "tests/support/OffscreenGraph.h"

namespace gametest {

void PlaceEnemy(CARDINAL i, QX3D::Vector position, QX3D::Vector course) {
    KYR12::VijandAr[i] = KYR12::VijandRc{position, course, true, 1, RED};
    KYR12::CNTVijand = std::max(KYR12::CNTVijand, i);
}

void PlacePlayerBullet(CARDINAL j, QX3D::Vector position) {
    KYR12::KogelAAr[j] = KYR12::BulletRc{position, {0.0f, 0.0f, 10.0f}, true};
    KYR12::CNTKogA = std::max(KYR12::CNTKogA, j);
}

void PlaceEnemyBullet(CARDINAL j, QX3D::Vector position) {
    KYR12::KogelVAr[j] = KYR12::BulletRc{position, {0.0f, 0.0f, -10.0f}, true};
    KYR12::CNTKogV = std::max(KYR12::CNTKogV, j);
}

void GameTest::SetUp() {
    clock.now = 5'000'000;
    clock.wall = {2026, 12, 7, 5, 0, 17, 430, 0, true, false};
    Clock::Use(clock);
    ASSERT_TRUE(testsupport::OffscreenGraphForProcess());
    testsupport::ReadyForLevelOneGame();
}

void GameTest::TearDown() {
    Waits::SetFrameHooks({});
    Graph::SetTrace(nullptr);
    IO::ClearInput();
    Clock::Use(Clock::RealClock());
}

}  // namespace gametest
