// The rules inside a frame: steering and fire, enemies and their fire, hits,
// explosions and the row of lives. Each test starts just after a level start.
#include <gtest/gtest.h>

#include <cmath>

#include "game/Game.h"
#include "game/SpelIntern.h"
#include "game/Sterren.h"
#include "platform/graph/GraphProbe.h"
#include "tests/game/GameHarness.h"

namespace gametest {
namespace {

using namespace KYR12;

// At this depth a world offset of d projects to d pixels before rounding.
constexpr float PixelDepth = 886.81f;

// Each arrow shifts every object, alive or not, and adds its step to every
// enemy's course; bullets keep theirs. New bullets still leave from the centre.
TEST_F(GameTest, SteeringShiftsTheWorldAndBendsEveryEnemysCourse) {
    const struct { const char* key; float dx, dy; } cases[] = {
        {"UP", 0.0f, -0.1f}, {"RIGHT", -0.1f, 0.0f}, {"DOWN", 0.0f, 0.1f}, {"LEFT", 0.1f, 0.0f}};
    for (const auto& g : cases) {
        PlaceEnemy(1, {1.0f, 2.0f, 300.0f}, {0.05f, -0.02f, -0.1f});
        VijandAr[1].life = false;
        PlaceEnemyBullet(1, {0.25f, 0.25f, 50.0f});
        PlacePlayerBullet(1, {0.0f, 0.0f, 21.0f});
        PostKeyDown(g.key);
        AanvallerDo();
        EXPECT_EQ(VijandAr[1].vectV.x, 1.0f + g.dx);
        EXPECT_EQ(VijandAr[1].vectV.y, 2.0f + g.dy);
        EXPECT_EQ(VijandAr[1].RichVect.x, 0.05f + g.dx);
        EXPECT_EQ(VijandAr[1].RichVect.y, -0.02f + g.dy);
        EXPECT_EQ(KogelVAr[1].vectB.x, 0.25f + g.dx);
        EXPECT_EQ(KogelVAr[1].RichVect.x, 0.0f);
        EXPECT_EQ(KogelAAr[1].vectB.y, g.dy);
    }
    Snelheid = 0.25f;
    PostKeyDown("SPACE");
    AanvallerDo();
    EXPECT_EQ(CNTKogA, 2u);
    EXPECT_EQ(KogelAAr[2].vectB.x, 0.0f);
    EXPECT_EQ(KogelAAr[2].vectB.z, 1.0f);
    EXPECT_EQ(KogelAAr[2].RichVect.z, 12.5f);
}

TEST_F(GameTest, PlayerBulletsMoveUpToDepth800ThenExpire) {
    PlacePlayerBullet(1, {0.0f, 0.0f, 800.0f});
    PlacePlayerBullet(2, {0.0f, 0.0f, 800.00006f});
    KogelALoop();
    EXPECT_TRUE(KogelAAr[1].life);
    EXPECT_EQ(KogelAAr[1].vectB.z, 810.0f);
    EXPECT_FALSE(KogelAAr[2].life);
}

TEST_F(GameTest, EnemiesAppearOnMultiplesOfTheLevelsPeriod) {
    const CARDINAL periode[9] = {0, 500, 500, 500, 250, 250, 250, 166, 166};
    for (CARDINAL lv = 1; lv <= 8; ++lv) {
        level = lv;
        Initialize();
        std::vector<CARDINAL> geboorten;
        for (; TimerVijand <= 2 * periode[lv]; ++TimerVijand) {
            const CARDINAL voor = CNTVijand;
            VijandLoop();
            if (CNTVijand != voor) geboorten.push_back(TimerVijand);
        }
        EXPECT_EQ(geboorten, (std::vector<CARDINAL>{0, periode[lv], 2 * periode[lv]})) << "level " << lv;
    }
}

// From seed 94 the first enemy draws 566 (0..800), 136 (0..600), 167 (0..200),
// 81 (0..150) and colour 5; both offsets even, so both signs negative. It is
// made and moved once in the same frame.
TEST_F(GameTest, TheFirstEnemyComesFromTheGeneratorsFirstValues) {
    VijandLoop();
    const VijandRc& v = VijandAr[1];
    EXPECT_EQ(v.RichVect.x, -167.0f / 1000.0f);
    EXPECT_EQ(v.RichVect.y, -81.0f / 1000.0f);
    EXPECT_EQ(v.vectV.x, -566.0f / 1000.0f + v.RichVect.x);
    EXPECT_EQ(v.vectV.y, -136.0f / 1000.0f + v.RichVect.y);
    EXPECT_EQ(v.vectV.z, 1200.0f - 0.1f);
    EXPECT_EQ(v.kleur, MAGENTA);
}

// An enemy fires 200 frames after its creation and every 200 after, at 10
// units per frame towards a point near the line of sight at depth
// 1 - 10 * Snelheid, nearer to it the higher the level.
TEST_F(GameTest, EnemiesFireEvery200FramesAtThePlayer) {
    for (const float snelheid : {0.0f, 0.25f}) {
        for (const CARDINAL lv : {1u, 8u}) {
            level = lv;
            Snelheid = snelheid;
            Initialize();
            MakeVijand(1);
            CNTVijand = 1;
            for (int frame = 0; frame < 200; ++frame) KogelVLoop();
            EXPECT_EQ(CNTKogV, 0u);
            KogelVLoop();
            ASSERT_EQ(CNTKogV, 1u);
            const BulletRc& k = KogelVAr[1];
            EXPECT_NEAR(QX3D::Norm(k.RichVect), 10.0f, 1e-4f);
            const float t = (1.0f - 10.0f * snelheid - k.vectB.z) / k.RichVect.z;
            EXPECT_LE(std::fabs(k.vectB.x + t * k.RichVect.x), 100.0f / 2400.0f / lv + 1e-4f);
            EXPECT_LE(std::fabs(k.vectB.y + t * k.RichVect.y), 80.0f / 1920.0f / lv + 1e-4f);
            for (int frame = 0; frame < 200; ++frame) KogelVLoop();
            EXPECT_EQ(CNTKogV, 2u);
        }
    }
}

TEST_F(GameTest, AnEnemyDeadWhenItsTurnComesNeverFiresAgain) {
    MakeVijand(1);
    CNTVijand = 1;
    for (int frame = 0; frame < 150; ++frame) KogelVLoop();
    VijandAr[1].life = false;
    for (int frame = 0; frame < 100; ++frame) KogelVLoop();
    VijandAr[1].life = true;
    for (int frame = 0; frame < 1000; ++frame) KogelVLoop();
    EXPECT_EQ(CNTKogV, 0u);
}

// From seed 94 the aim draws 71 (1..100) and 19 (1..80), both odd: an enemy
// standing exactly on that aiming point has no direction to fire in.
TEST_F(GameTest, ABulletFiredFromTheAimingPointStandsStillAndExpires) {
    MakeKogelV({71.0f / 800.0f / 3.0f, 19.0f / 640.0f / 3.0f, 1.0f});
    const QX3D::Vector r = KogelVAr[1].RichVect;
    EXPECT_TRUE(r.x == 0.0f && r.y == 0.0f && r.z == 0.0f);
    KogelVLoop();
    EXPECT_FALSE(KogelVAr[1].life);
}

// The same draws pin the aim's 32-bit rounding: each step of the aim and of
// the course (times 10, then divided by the length) is a float operation in
// this order; double intermediates or 10 / length first change the last bits.
TEST_F(GameTest, TheAimIsWorkedOutInFloatInTheWrittenOrder) {
    level = 3;
    Snelheid = 0.07f;
    const QX3D::Vector v = {0.0123f, 0.0456f, 950.25f};
    MakeKogelV(v);
    const float spreiding = 3.0f * 3.0f;
    const QX3D::Vector help = {71.0f / 800.0f / spreiding - v.x, 19.0f / 640.0f / spreiding - v.y,
                               (1.0f - v.z) - 10.0f * Snelheid};
    const float lengte = QX3D::Norm(help);
    EXPECT_EQ(KogelVAr[1].RichVect.x, help.x * 10.0f / lengte);
    EXPECT_EQ(KogelVAr[1].RichVect.y, help.y * 10.0f / lengte);
    EXPECT_EQ(KogelVAr[1].RichVect.z, help.z * 10.0f / lengte);
}

// Offsets round by truncating (offset + 0.5) toward zero; both boxes are inclusive.
TEST(HitBoxes, BoundsInScreenPixels) {
    QX3D::Init3D(1025, 730, 60.0f);
    const struct { float dx, dy; bool doel, speler; } cases[] = {
        {4.0f, 0.0f, true, true},     {5.0f, 0.0f, false, true},    {-3.0f, 0.0f, true, true},
        {-3.5f, 0.0f, false, true},   {0.0f, 3.0f, true, true},     {0.0f, 4.0f, false, true},
        {0.0f, -4.0f, true, true},    {0.0f, -4.5f, false, true},   {17.0f, 0.0f, false, true},
        {18.0f, 0.0f, false, false},  {-17.0f, 0.0f, false, true},  {-17.5f, 0.0f, false, false},
        {0.0f, 14.0f, false, true},   {0.0f, 15.0f, false, false},  {0.0f, -15.0f, false, true},
        {0.0f, -15.5f, false, false}};
    for (const auto& g : cases) {
        EXPECT_EQ(InDoelBox({g.dx, g.dy, PixelDepth}), g.doel) << g.dx << ", " << g.dy;
        EXPECT_EQ(InSpelerBox({g.dx, g.dy, PixelDepth}), g.speler) << g.dx << ", " << g.dy;
    }
}

// An enemy under the crosshair falls to the first live bullet more than 2
// units nearer; the bullet is spent on the lowest index. No explosion, no
// score for enemies that reach depth 1.
TEST_F(GameTest, BulletsHitTheLowestIndexUnderTheCrosshairWhenMoreThanTwoNearer) {
    PlaceEnemy(1, {5.0f, 0.0f, PixelDepth});   // one pixel right of the box
    PlaceEnemy(2, {0.0f, 0.0f, 100.0f});
    PlaceEnemy(3, {0.0f, 0.0f, 100.0f});
    PlaceEnemy(4, {0.0f, 0.0f, 1.0f});
    PlaceEnemy(5, {0.0f, 0.0f, 1.01f});
    PlacePlayerBullet(1, {0.0f, 0.0f, 98.0f});
    PlacePlayerBullet(2, {0.0f, 0.0f, 150.0f});
    CheckV();
    EXPECT_EQ(score, 0u);
    EXPECT_FALSE(VijandAr[4].life);
    EXPECT_TRUE(VijandAr[5].life);
    PlacePlayerBullet(3, {40.0f, -30.0f, 97.99999f});   // its own place on screen plays no part
    CheckV();
    EXPECT_EQ(score, 1u);
    EXPECT_TRUE(VijandAr[1].life);
    EXPECT_FALSE(VijandAr[2].life);
    EXPECT_TRUE(VijandAr[3].life);
    EXPECT_FALSE(KogelAAr[3].life);
    EXPECT_TRUE(KogelAAr[1].life && KogelAAr[2].life);
}

TEST_F(GameTest, ExplosionsFlashDiscsAndStallTheGame) {
    PlaceEnemy(1, {2.0f, -1.0f, PixelDepth});
    PlacePlayerBullet(1, {0.0f, 0.0f, 10.0f});
    const uint64_t before = clock.now;
    TraceRecorder trace;
    CheckV();
    BoomA();
    const std::vector<std::string> discs = LinesStartingWith(trace.Stop(), "ellipse");
    ASSERT_EQ(discs.size(), 40u + 100u);
    EXPECT_EQ(discs[0], "ellipse 414 265 614 465 1 fill");   // radius 100 at (514, 365)
    EXPECT_EQ(discs[39], "ellipse 414 265 614 465 0 fill");
    EXPECT_EQ(discs[40], "ellipse 212 65 812 665 1 fill");   // radius 300 at (512, 365)
    EXPECT_EQ(discs[139], "ellipse 212 65 812 665 0 fill");
    EXPECT_EQ(clock.now - before, 200'000u + 500'000u);
}

// Enemy bullets nearer than 5 in the player's box each take a life, down to
// the last counter value 1. A bullet hits in the frame it arrives and
// expires in the next, once below depth 10.
TEST_F(GameTest, EnemyBulletsTakeLivesOnArrival) {
    Aanvaller.life = 3;
    PlaceEnemyBullet(1, {0.0f, 0.0f, 13.0f});
    PlaceEnemyBullet(2, {0.01f, 0.0f, 14.0f});
    PlaceEnemyBullet(3, {0.0f, 0.01f, 12.0f});
    PlaceEnemyBullet(4, {0.0f, 0.0f, 15.0f});   // arrives at 5: not nearer than 5
    KogelVLoop();
    CheckA();
    EXPECT_EQ(Aanvaller.life, 1u);
    KogelVLoop();
    EXPECT_FALSE(KogelVAr[1].life || KogelVAr[2].life || KogelVAr[3].life || KogelVAr[4].life);
}

// Points at the viewer's plane, or projecting beyond the INTEGER range, hit nothing.
TEST_F(GameTest, PointsWithoutAProjectionNeverHit) {
    PlaceEnemyBullet(1, {0.0f, 0.0f, 0.0f});
    PlaceEnemyBullet(2, {0.0f, 0.0f, -0.0f});
    PlaceEnemyBullet(3, {0.5f, 0.25f, 1e-30f});
    PlaceEnemyBullet(4, {2e9f, 0.0f, 4.0f});
    CheckA();
    EXPECT_EQ(Aanvaller.life, 6u);
    PlaceEnemy(1, {0.0f, 3e9f, 2.5f});
    PlacePlayerBullet(1, {0.0f, 0.0f, 0.25f});
    CheckV();
    EXPECT_TRUE(VijandAr[1].life);
    EXPECT_TRUE(InSpelerBox({0.0f, 0.0f, 1e-30f}));   // exactly on the line of sight: defined
}

// Box i of n paints 18 columns from 513 - 10n + 20i, rows 10 to 28, colour i + 2.
TEST_F(GameTest, LivesAreACentredRowOfColouredBoxes) {
    const struct { CARDINAL life; std::vector<int> links; } cases[] = {
        {6, {483, 503, 523, 543, 563}}, {2, {523}}, {1, {}}};
    for (const auto& g : cases) {
        KuisSchermGroot();
        Aanvaller.life = g.life;
        Leven();
        for (int x = 470; x < 600; ++x) {
            int kleur = 0;
            for (std::size_t i = 0; i < g.links.size(); ++i) {
                if (x >= g.links[i] && x <= g.links[i] + 17) kleur = static_cast<int>(i) + 3;
            }
            EXPECT_EQ(Graph::PixelIndex(x, 10), kleur) << "life " << g.life << " column " << x;
            EXPECT_EQ(Graph::PixelIndex(x, 28), kleur) << "life " << g.life << " column " << x;
            EXPECT_EQ(Graph::PixelIndex(x, 9) + Graph::PixelIndex(x, 29), 0);
        }
    }
}

}  // namespace
}  // namespace gametest
