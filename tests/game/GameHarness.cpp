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
    QX3D::Init3D(1025, 730, 60.0f);
    IO::ModuleInit();
    IO::ClearInput();
    Lib::ModuleInit();
    StandardLib::ModuleInit();
    KYR12::ResetGameState();
    KYR12::level = 1;
    KYR12::Snelheid = 0.0f;
    KYR12::Initialize();
    // As in the program: the game's one poll a frame follows its drawing, so
    // it never idles.
    Waits::SetFrameHooks({Graph::PublishFrame, Graph::RequestsPosted});
}

void GameTest::TearDown() {
    Waits::SetFrameHooks({});
    Graph::SetTrace(nullptr);
    IO::ClearInput();
    Clock::Use(Clock::RealClock());
}

}  // namespace gametest
