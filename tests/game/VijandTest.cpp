// Enemies: spawning, the first enemy's draws, motion, fire and enemy bullets.
#include <gtest/gtest.h>

#include <cmath>

#include "game/Game.h"
#include "game/GameState.h"
#include "game/SpelIntern.h"
#include "tests/game/SpelOmgeving.h"

namespace spel_test {
namespace {

using namespace KYR12;

class VijandTest : public SpelTest {
protected:
    void SetUp() override {
        SpelTest::SetUp();
        Initialize();
    }
};

TEST_F(VijandTest, EnemiesAppearOnMultiplesOfTheLevelsPeriod) {
    const CARDINAL periode[9] = {0, 500, 500, 500, 250, 250, 250, 166, 166};
    for (CARDINAL lv = 1; lv <= 8; ++lv) {
        level = lv;
        Initialize();
        std::vector<CARDINAL> geboorten;
        for (CARDINAL t = 0; t <= 2 * periode[lv]; ++t) {
            const CARDINAL voor = CNTVijand;
            VijandLoop();
            if (CNTVijand != voor) {
                geboorten.push_back(t);
            }
            TimerVijand += 1;
        }
        const std::vector<CARDINAL> verwacht = {0, periode[lv], 2 * periode[lv]};
        EXPECT_EQ(geboorten, verwacht) << "level " << lv;
    }
}

// From the generator's seed 94 the first enemy draws 566 (0..800), 136 (0..600),
// 167 (0..200), 81 (0..150) and colour 5; both offsets even, so both signs negative.
TEST_F(VijandTest, TheFirstEnemyComesFromTheGeneratorsFirstValues) {
    VijandLoop();
    ASSERT_EQ(CNTVijand, 1u);
    const VijandRc& v = VijandAr[1];
    EXPECT_EQ(v.RichVect.x, -167.0f / 1000.0f);
    EXPECT_EQ(v.RichVect.y, -81.0f / 1000.0f);
    EXPECT_EQ(v.RichVect.z, -0.1f);
    // Made and moved once in the same frame.
    EXPECT_EQ(v.vectV.x, -566.0f / 1000.0f + v.RichVect.x);
    EXPECT_EQ(v.vectV.y, -136.0f / 1000.0f + v.RichVect.y);
    EXPECT_EQ(v.vectV.z, 1200.0f - 0.1f);
    EXPECT_EQ(v.kleur, MAGENTA);
    EXPECT_TRUE(v.life);
}

TEST_F(VijandTest, SpeedSetsTheApproach) {
    Snelheid = 0.25f;
    MakeVijand(1);
    EXPECT_EQ(VijandAr[1].RichVect.z, -0.1f - 10.0f * 0.25f);
    EXPECT_EQ(VijandAr[1].vectV.z, 1200.0f);
}

TEST_F(VijandTest, OnlyLiveEnemiesMove) {
    ZetVijand(1, {0.0f, 0.0f, 100.0f}, {0.5f, 0.0f, -1.0f});
    ZetVijand(2, {0.0f, 0.0f, 100.0f}, {0.5f, 0.0f, -1.0f});
    VijandAr[2].life = false;
    TimerVijand = 1;   // not a spawn frame
    VijandLoop();
    EXPECT_EQ(VijandAr[1].vectV.x, 0.5f);
    EXPECT_EQ(VijandAr[2].vectV.x, 0.0f);
}

// Extrapolates an enemy bullet along its course to depth z.
QX3D::Vector OpDiepte(const BulletRc& k, float z) {
    const float t = (z - k.vectB.z) / k.RichVect.z;
    return {k.vectB.x + t * k.RichVect.x, k.vectB.y + t * k.RichVect.y, z};
}

// An enemy fires 200 frames after its creation and every 200 frames after
// that, at 10 units per frame, towards a point just off the line of sight at
// depth 1 - 10 * Snelheid, closer to it the higher the level.
TEST_F(VijandTest, EnemiesFireEvery200FramesAtThePlayer) {
    for (const float snelheid : {0.0f, 0.25f}) {
        for (const CARDINAL lv : {1u, 8u}) {
            level = lv;
            Snelheid = snelheid;
            Initialize();
            MakeVijand(1);
            CNTVijand = 1;
            TimerVijand = 1;   // no spawning during this test
            for (int frame = 0; frame < 200; ++frame) {
                KogelVLoop();
            }
            EXPECT_EQ(CNTKogV, 0u);
            KogelVLoop();
            ASSERT_EQ(CNTKogV, 1u);
            const BulletRc& kogel = KogelVAr[1];
            EXPECT_TRUE(kogel.life);
            EXPECT_EQ(kogel.vectB.z, VijandAr[1].vectV.z);
            EXPECT_NEAR(QX3D::Norm(kogel.RichVect), 10.0f, 1e-4f);
            const QX3D::Vector doel = OpDiepte(kogel, 1.0f - 10.0f * snelheid);
            EXPECT_LE(std::fabs(doel.x), 100.0f / 800.0f / (3.0f * lv) + 1e-4f);
            EXPECT_LE(std::fabs(doel.y), 80.0f / 640.0f / (3.0f * lv) + 1e-4f);
            for (int frame = 0; frame < 199; ++frame) {
                KogelVLoop();
            }
            EXPECT_EQ(CNTKogV, 1u);
            KogelVLoop();
            EXPECT_EQ(CNTKogV, 2u);
        }
    }
}

TEST_F(VijandTest, AnEnemyDeadWhenItsTurnComesNeverFiresAgain) {
    ZetVijand(1, {0.0f, 0.0f, 1000.0f});
    VijandAr[1].kogeltimer = 0;
    for (int frame = 0; frame < 150; ++frame) {
        KogelVLoop();
    }
    VijandAr[1].life = false;
    for (int frame = 0; frame < 1000; ++frame) {
        KogelVLoop();
    }
    EXPECT_EQ(CNTKogV, 0u);
    VijandAr[1].life = true;   // revived past its turn: the timer has run beyond 200
    for (int frame = 0; frame < 1000; ++frame) {
        KogelVLoop();
    }
    EXPECT_EQ(CNTKogV, 0u);
}

// Enemy bullets move while at least 10 deep (alive or not) and expire below that.
TEST_F(VijandTest, EnemyBulletsExpireBelowDepthTen) {
    ZetKogelV(1, {0.0f, 0.0f, 10.0f});
    ZetKogelV(2, {0.0f, 0.0f, 9.999999f});
    KogelVLoop();
    EXPECT_TRUE(KogelVAr[1].life);
    EXPECT_EQ(KogelVAr[1].vectB.z, 0.0f);
    EXPECT_FALSE(KogelVAr[2].life);
    EXPECT_EQ(KogelVAr[2].vectB.z, 9.999999f);
    KogelVLoop();
    EXPECT_FALSE(KogelVAr[1].life);
}

TEST_F(VijandTest, EnemyAndBulletShapes) {
    ZetVijand(1, {0.0f, 0.0f, 100.0f});
    VijandAr[1].kleur = LIGHTGREEN;
    Spoor spoor;
    spoor.Start();
    VijandTek(VijandAr[1].vectV, 1);
    KogelVTek({0.0f, 0.0f, 100.0f});
    const std::vector<std::string> lijnen = Met(spoor.Stop(), "line");
    // Two wings of four segments, then the solid's twelve edges; then the bullet's twelve.
    ASSERT_EQ(lijnen.size(), 4u + 4u + 12u + 12u);
    EXPECT_EQ(lijnen[0], "line 316 307 512 365 10");   // wing 1 from (-40, -12, 180)
    EXPECT_EQ(lijnen[4], "line 316 424 512 365 10");   // wing 2 from (-40, 12, 180)
    EXPECT_EQ(lijnen[8], "line 434 307 512 365 10");   // solid, corner 0 (-16, -12, 180) to the nose
    for (std::size_t i = 0; i < 20; ++i) {
        EXPECT_EQ(lijnen[i].substr(lijnen[i].size() - 3), " 10");
    }
    for (std::size_t i = 20; i < lijnen.size(); ++i) {
        EXPECT_EQ(lijnen[i].back(), '3');
    }
}

}  // namespace
}  // namespace spel_test
