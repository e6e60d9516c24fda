// The player's keys, bullets and crosshair.
#include <gtest/gtest.h>

#include "game/Game.h"
#include "game/GameState.h"
#include "platform/console/InputQueue.h"
#include "tests/game/SpelOmgeving.h"

namespace spel_test {
namespace {

using namespace KYR12;

void ExpectVector(QX3D::Vector v, float x, float y, float z) {
    EXPECT_EQ(v.x, x);
    EXPECT_EQ(v.y, y);
    EXPECT_EQ(v.z, z);
}

class AanvallerTest : public SpelTest {
protected:
    void SetUp() override {
        SpelTest::SetUp();
        Initialize();
    }
};

// Each arrow shifts every object (alive or not) by its step and adds the step
// to every enemy's course; the step's z of 1.0E-33 vanishes at these depths.
TEST_F(AanvallerTest, ArrowKeysShiftTheWorldAndBendEveryEnemysCourse) {
    struct Geval {
        Toets toets;
        float dx, dy;
    };
    const Geval gevallen[] = {
        {Toets::Op, 0.0f, -0.1f}, {Toets::Rechts, -0.1f, 0.0f},
        {Toets::Neer, 0.0f, 0.1f}, {Toets::Links, 0.1f, 0.0f}};
    for (const Geval& g : gevallen) {
        ZetVijand(1, {1.0f, 2.0f, 300.0f}, {0.05f, -0.02f, -0.1f});
        ZetVijand(2, {-3.0f, 0.5f, 40.0f}, {0.0f, 0.0f, -0.1f});
        VijandAr[2].life = false;
        ZetKogelV(1, {0.25f, 0.25f, 50.0f});
        ZetKogelA(1, {0.0f, 0.0f, 21.0f});
        Druk(g.toets);
        AanvallerDo();
        ExpectVector(VijandAr[1].vectV, 1.0f + g.dx, 2.0f + g.dy, 300.0f);
        ExpectVector(VijandAr[1].RichVect, 0.05f + g.dx, -0.02f + g.dy, -0.1f);
        ExpectVector(VijandAr[2].vectV, -3.0f + g.dx, 0.5f + g.dy, 40.0f);
        ExpectVector(VijandAr[2].RichVect, g.dx, g.dy, -0.1f + 1.0E-33f);
        ExpectVector(KogelVAr[1].vectB, 0.25f + g.dx, 0.25f + g.dy, 50.0f);
        ExpectVector(KogelVAr[1].RichVect, 0.0f, 0.0f, -10.0f);   // bullets keep their course
        ExpectVector(KogelAAr[1].vectB, g.dx, g.dy, 21.0f);
        EXPECT_FALSE(Quit);
        EXPECT_EQ(CNTKogA, 1u);
    }
}

// One press gives every existing enemy a drift of 0.1 per frame for the rest of its life.
TEST_F(AanvallerTest, SteeringDriftLasts) {
    VijandLoop();
    const QX3D::Vector koers = VijandAr[1].RichVect;
    Druk(Toets::Links);
    AanvallerDo();
    for (CARDINAL frame = 1; frame <= 3; ++frame) {
        TimerVijand = frame;
        const float voor = VijandAr[1].vectV.x;
        VijandLoop();
        EXPECT_EQ(VijandAr[1].vectV.x, voor + (koers.x + 0.1f));
    }
}

TEST_F(AanvallerTest, SpaceFiresFromTheCentreEvenAfterSteering) {
    Snelheid = 0.25f;
    Druk(Toets::Spatie);
    AanvallerDo();
    Druk(Toets::Neer);
    AanvallerDo();
    Druk(Toets::Spatie);
    AanvallerDo();
    ASSERT_EQ(CNTKogA, 2u);
    ExpectVector(KogelAAr[1].vectB, 0.0f, 0.1f, 1.0f);   // already in flight: shifted
    ExpectVector(KogelAAr[2].vectB, 0.0f, 0.0f, 1.0f);
    ExpectVector(KogelAAr[2].RichVect, 0.0f, 0.0f, 10.0f + 10.0f * 0.25f);
    EXPECT_TRUE(KogelAAr[2].life);
}

TEST_F(AanvallerTest, AnyOtherKeyQuits) {
    for (Toets t : {Toets::Q, Toets::Enter}) {
        Quit = false;
        Druk(t);
        AanvallerDo();
        EXPECT_TRUE(Quit);
        EXPECT_EQ(CNTKogA, 0u);
    }
}

// Bullets move while at most 800 deep, alive or spent; beyond that they expire.
TEST_F(AanvallerTest, BulletsMoveUpToDepth800ThenExpire) {
    KogelALoop();   // no bullets yet: nothing to do
    EXPECT_EQ(CNTKogA, 0u);
    ZetKogelA(1, {0.0f, 0.0f, 800.0f});
    ZetKogelA(2, {0.0f, 0.0f, 800.00006f});
    ZetKogelA(3, {0.0f, 0.0f, 500.0f}, {0.0f, 0.0f, 12.5f});
    KogelAAr[3].life = false;
    KogelALoop();
    ExpectVector(KogelAAr[1].vectB, 0.0f, 0.0f, 810.0f);
    EXPECT_TRUE(KogelAAr[1].life);
    ExpectVector(KogelAAr[2].vectB, 0.0f, 0.0f, 800.00006f);
    EXPECT_FALSE(KogelAAr[2].life);
    EXPECT_EQ(KogelAAr[3].vectB.z, 512.5f);
    KogelALoop();
    EXPECT_FALSE(KogelAAr[1].life);
}

// A bullet fired at speed 10 per frame is last drawn at depth 801, in its 80th frame of flight.
TEST_F(AanvallerTest, ABulletIsDrawnForEightyFrames) {
    MakeKogelA();
    int getekend = 0;
    for (int frame = 0; frame < 100; ++frame) {
        KogelALoop();
        if (KogelAAr[1].life) {
            ++getekend;
        }
    }
    EXPECT_EQ(getekend, 80);
}

TEST_F(AanvallerTest, CrosshairIsASquareWithBothDiagonals) {
    Spoor spoor;
    spoor.Start();
    AanvalTek();
    const std::vector<std::string> verwacht = {
        "line 556 322 469 409 7", "line 469 409 556 409 7", "line 556 409 469 322 7",
        "line 469 322 556 322 7", "line 556 322 469 409 7", "line 469 409 469 322 7",
        "line 469 322 556 409 7", "line 556 409 556 322 7"};
    EXPECT_EQ(Met(spoor.Stop(), "line"), verwacht);
}

}  // namespace
}  // namespace spel_test
