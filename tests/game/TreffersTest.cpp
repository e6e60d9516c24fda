// Hits on enemies and on the player, explosions, and the row of lives.
#include <gtest/gtest.h>

#include "game/Game.h"
#include "game/GameState.h"
#include "game/SpelIntern.h"
#include "game/Sterren.h"
#include "platform/graph/GraphInspect.h"
#include "tests/game/SpelOmgeving.h"

namespace spel_test {
namespace {

using namespace KYR12;

// At this depth a world offset of d projects to an offset of exactly d pixels
// before the rounding, so the boxes' pixel edges can be probed directly.
constexpr float PixelDiepte = 886.81f;

class TreffersTest : public SpelTest {
protected:
    void SetUp() override {
        SpelTest::SetUp();
        Initialize();
    }
};

TEST(HitBoxes, BoundsAreInclusiveInScreenPixels) {
    QX3D::Init3D(1025, 730, 60.0f);
    struct Geval {
        float dx, dy;
        bool doel, speler;
    };
    // Offsets round by truncating (offset + 0.5) toward zero.
    const Geval gevallen[] = {
        {0.0f, 0.0f, true, true},     {4.0f, 0.0f, true, true},     {5.0f, 0.0f, false, true},
        {-3.0f, 0.0f, true, true},    {-3.5f, 0.0f, false, true},   {0.0f, 3.0f, true, true},
        {0.0f, 4.0f, false, true},    {0.0f, -4.0f, true, true},    {0.0f, -4.5f, false, true},
        {17.0f, 0.0f, false, true},   {18.0f, 0.0f, false, false},  {-17.0f, 0.0f, false, true},
        {-17.5f, 0.0f, false, false}, {0.0f, 14.0f, false, true},   {0.0f, 15.0f, false, false},
        {0.0f, -15.0f, false, true},  {0.0f, -15.5f, false, false},
    };
    for (const Geval& g : gevallen) {
        const QX3D::Vector p{g.dx, g.dy, PixelDiepte};
        EXPECT_EQ(InDoelBox(p), g.doel) << g.dx << ", " << g.dy;
        EXPECT_EQ(InSpelerBox(p), g.speler) << g.dx << ", " << g.dy;
    }
}

// Points at the viewer's plane or projecting beyond the INTEGER range lie in
// no box; points merely behind the viewer project by the same formula.
TEST(HitBoxes, PointsWithoutAProjectionAreInNoBox) {
    QX3D::Init3D(1025, 730, 60.0f);
    const QX3D::Vector ongedefinieerd[] = {
        {0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, -0.0f}, {0.5f, 0.0f, 1e-30f}, {0.0f, -3e9f, 2.0f}};
    for (const QX3D::Vector& p : ongedefinieerd) {
        EXPECT_FALSE(InDoelBox(p));
        EXPECT_FALSE(InSpelerBox(p));
    }
    EXPECT_TRUE(InSpelerBox({0.0f, 0.0f, 1e-30f}));
    EXPECT_TRUE(InSpelerBox({0.01f, 0.0f, -3.0f}));
}

TEST_F(TreffersTest, ABulletHitsOnlyWhenMoreThanTwoUnitsNearer) {
    ZetVijand(1, {0.0f, 0.0f, 100.0f});
    ZetKogelA(1, {0.0f, 0.0f, 98.0f});
    ZetKogelA(2, {0.0f, 0.0f, 150.0f});
    CheckV();
    EXPECT_TRUE(VijandAr[1].life);
    EXPECT_TRUE(KogelAAr[1].life);
    EXPECT_EQ(score, 0u);
    ZetKogelA(3, {0.0f, 0.0f, 97.99999f});
    CheckV();
    EXPECT_FALSE(VijandAr[1].life);
    EXPECT_FALSE(KogelAAr[3].life);
    EXPECT_TRUE(KogelAAr[1].life);
    EXPECT_EQ(score, 1u);
}

// The bullet's own place on screen plays no part; it is spent on the first
// enemy in index order, and each enemy takes the first bullet in index order.
TEST_F(TreffersTest, HitsGoToTheLowestIndexUnderTheCrosshair) {
    ZetVijand(1, {5.0f, 0.0f, PixelDiepte});   // one pixel right of the box
    ZetVijand(2, {0.0f, 0.0f, 300.0f});
    ZetVijand(3, {0.0f, 0.0f, 500.0f});
    ZetKogelA(1, {40.0f, -30.0f, 20.0f});
    CheckV();
    EXPECT_TRUE(VijandAr[1].life);
    EXPECT_FALSE(VijandAr[2].life);
    EXPECT_TRUE(VijandAr[3].life);
    EXPECT_EQ(score, 1u);
    ZetKogelA(2, {0.0f, 0.0f, 30.0f});
    ZetKogelA(3, {0.0f, 0.0f, 40.0f});
    CheckV();
    EXPECT_FALSE(VijandAr[3].life);
    EXPECT_FALSE(KogelAAr[2].life);
    EXPECT_TRUE(KogelAAr[3].life);
    EXPECT_EQ(score, 2u);
}

TEST_F(TreffersTest, EnemiesReachingTheViewerLeaveWithoutScore) {
    ZetVijand(1, {0.0f, 0.0f, 1.0f});
    ZetVijand(2, {0.0f, 0.0f, 1.01f});
    Spoor spoor;
    spoor.Start();
    CheckV();
    EXPECT_TRUE(Met(spoor.Stop(), "ellipse").empty());
    EXPECT_FALSE(VijandAr[1].life);
    EXPECT_TRUE(VijandAr[2].life);
    EXPECT_EQ(score, 0u);
    EXPECT_EQ(Aanvaller.life, 6u);
}

TEST_F(TreffersTest, AnEnemyFarOffScreenIsNeverHit) {
    ZetVijand(1, {3e9f, 0.0f, 2.5f});
    ZetKogelA(1, {0.0f, 0.0f, 0.25f});
    CheckV();
    EXPECT_TRUE(VijandAr[1].life);
    EXPECT_TRUE(KogelAAr[1].life);
}

// A new enemy starts within a pixel of the centre, 1200 deep: a bullet in flight gets it at once.
TEST_F(TreffersTest, AnEnemyBornUnderALiveBulletDiesInItsFirstFrame) {
    MakeKogelA();
    SIM();
    EXPECT_EQ(CNTVijand, 1u);
    EXPECT_FALSE(VijandAr[1].life);
    EXPECT_EQ(score, 1u);
}

TEST_F(TreffersTest, AnEnemysExplosionFlashesTwentyTimesAtItsPlace) {
    ZetVijand(1, {2.0f, -1.0f, PixelDiepte});
    ZetKogelA(1, {0.0f, 0.0f, 10.0f});
    const uint64_t voor = klok.nu;
    Spoor spoor;
    spoor.Start();
    CheckV();
    const std::vector<std::string> schijven = Met(spoor.Stop(), "ellipse");
    ASSERT_EQ(schijven.size(), 40u);
    EXPECT_EQ(schijven[0], "ellipse 414 265 614 465 1 fill");
    EXPECT_EQ(schijven[1], "ellipse 414 265 614 465 0 fill");
    EXPECT_EQ(schijven[39], schijven[1]);
    EXPECT_EQ(klok.nu - voor, 200'000u);
}

TEST_F(TreffersTest, GameOverExplosionFlashesFiftyTimesInTheMiddle) {
    const uint64_t voor = klok.nu;
    Spoor spoor;
    spoor.Start();
    BoomA();
    const std::vector<std::string> schijven = Met(spoor.Stop(), "ellipse");
    ASSERT_EQ(schijven.size(), 100u);
    EXPECT_EQ(schijven[0], "ellipse 212 65 812 665 1 fill");
    EXPECT_EQ(schijven[99], "ellipse 212 65 812 665 0 fill");
    EXPECT_EQ(klok.nu - voor, 500'000u);
}

// Each enemy bullet nearer than 5 in the player's box takes a life, never the last counter value.
TEST_F(TreffersTest, ThreeBulletsInOneFrameTakeTheLastTwoLives) {
    Aanvaller.life = 3;
    ZetKogelV(1, {0.0f, 0.0f, 3.0f});
    ZetKogelV(2, {0.01f, 0.0f, 4.0f});
    ZetKogelV(3, {0.0f, 0.01f, 2.0f});
    ZetKogelV(4, {0.0f, 0.0f, 5.0f});   // not nearer than 5
    CheckA();
    EXPECT_EQ(Aanvaller.life, 1u);
    EXPECT_TRUE(KogelVAr[1].life && KogelVAr[2].life && KogelVAr[3].life);
}

// From 14 to 4 in one frame: a hit now, expiry in the next frame.
TEST_F(TreffersTest, AnEnemyBulletHitsOnArrivalThenExpires) {
    ZetKogelV(1, {0.0f, 0.0f, 14.0f});
    KogelVLoop();
    CheckA();
    EXPECT_EQ(Aanvaller.life, 5u);
    KogelVLoop();
    CheckA();
    EXPECT_FALSE(KogelVAr[1].life);
    EXPECT_EQ(Aanvaller.life, 5u);
}

TEST_F(TreffersTest, EnemyBulletsWithoutAProjectionNeverHit) {
    ZetKogelV(1, {0.0f, 0.0f, 0.0f});
    ZetKogelV(2, {0.5f, 0.25f, 1e-30f});
    ZetKogelV(3, {2e9f, 0.0f, 4.0f});
    CheckA();
    EXPECT_EQ(Aanvaller.life, 6u);
}

// Box i paints 18 columns from 513 - 10n + 20i and rows 10 to 28, in colour i + 2.
TEST_F(TreffersTest, LivesAreACentredRowOfColouredBoxes) {
    struct Geval {
        CARDINAL life;
        std::vector<int> links;
    };
    const Geval gevallen[] = {{6, {483, 503, 523, 543, 563}}, {2, {523}}, {1, {}}};
    for (const Geval& g : gevallen) {
        KuisSchermGroot();
        Aanvaller.life = g.life;
        Leven();
        Graph::Sync();
        for (int x = 470; x < 600; ++x) {
            int kleur = 0;
            for (std::size_t i = 0; i < g.links.size(); ++i) {
                if (x >= g.links[i] && x <= g.links[i] + 17) {
                    kleur = static_cast<int>(i) + 3;
                }
            }
            EXPECT_EQ(Graph::PixelIndex(x, 10), kleur) << "life " << g.life << " column " << x;
            EXPECT_EQ(Graph::PixelIndex(x, 28), kleur) << "life " << g.life << " column " << x;
            EXPECT_EQ(Graph::PixelIndex(x, 9), 0);
            EXPECT_EQ(Graph::PixelIndex(x, 29), 0);
        }
    }
}

}  // namespace
}  // namespace spel_test
