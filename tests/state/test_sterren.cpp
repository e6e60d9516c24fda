// Star fields, screen clearing and the play-area frame, through the graphics
// service's request trace and back buffer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine3d/QX3D.h"
#include "game/GameState.h"
#include "game/Sterren.h"
#include "platform/console/IO.h"
#include "platform/graph/GraphInspect.h"
#include "tests/engine3d/Spoor.h"

using namespace KYR12;
using QX3D::Vector;
using spoor::Spoor;
using Regels = std::vector<std::string>;

namespace {

// At the depth of the projection plane a star's offset from the centre
// (512, 365) is its x and y in pixels. Offsets round by TRUNC(v + 0.5), so a
// negative offset n needs v = n - 0.5.
constexpr float Vlak = 886.80999756f;

float Verschuiving(int n) { return n >= 0 ? float(n) : float(n) - 0.5f; }
Vector OpPixel(int kolom, int rij) { return {Verschuiving(kolom - 512), Verschuiving(rij - 365), Vlak}; }

class Sterren : public ::testing::Test {
protected:
    void SetUp() override {
        spoor::OpenVenster();
        QX3D::Init3D(1025, 730, 60);
        ResetGameState();
    }
    // Every star far off to the side, so that only the ones a test places
    // are drawn.
    static void LeegVeld(Vector (&veld)[AantalSterren]) {
        for (Vector& s : veld) s = {1e6f, 1e6f, 50};
    }
};

}  // namespace

TEST_F(Sterren, AStarIsOneWhitePixelAtItsProjection) {
    Spoor s;
    TekenSter(OpPixel(300, 200));
    EXPECT_EQ(s.Regels(), (Regels{spoor::Vlak(300, 200, 302, 202, 7)}));
    Graph::Sync();
    EXPECT_EQ(Graph::PixelIndex(300, 200), 7);
    EXPECT_EQ(Graph::PixelIndex(301, 200), 0);
    EXPECT_EQ(Graph::PixelIndex(300, 201), 0);
}

TEST_F(Sterren, OnlyStarsInsideTheWindowAreDrawn) {
    Spoor s;
    for (auto [k, r] : {std::pair{112, 300}, {913, 300}, {500, 65}, {500, 665}, {-4000, 300}}) {
        TekenSter(OpPixel(k, r));
    }
    TekenSter({1, 1, 0});            // no projection
    TekenSter({1e30f, 0, 1});        // column beyond the integer range
    TekenSter({0, 0, -100});         // behind the eye, mirrored onto the centre: drawn
    EXPECT_EQ(s.Regels(), (Regels{spoor::Vlak(512, 365, 514, 367, 7)}));

    Spoor randen;
    for (auto [k, r] : {std::pair{113, 66}, {912, 664}}) TekenSter(OpPixel(k, r));
    EXPECT_EQ(randen.Regels(), (Regels{spoor::Vlak(113, 66, 115, 68, 7), spoor::Vlak(912, 664, 914, 666, 7)}));
}

TEST_F(Sterren, StarsPassingDepthOneStartAgainAt300) {
    LeegVeld(sterren);
    sterren[0] = {3, 4, 5.5f};
    sterren[1] = {3, 4, 6.0f};
    sterren[2] = {3, 4, 300.0f};
    TekenSterren();
    EXPECT_EQ(sterren[0].z, 300.0f);
    EXPECT_EQ(sterren[1].z, 1.0f);
    EXPECT_EQ(sterren[2].z, 295.0f);
    EXPECT_EQ(sterren[0].x, 3.0f);
    EXPECT_EQ(sterren[0].y, 4.0f);
}

TEST_F(Sterren, EachCallDrawsThePositionsTheLastOneLeft) {
    LeegVeld(sterren);
    sterren[7] = OpPixel(600, 400);
    Spoor s;
    TekenSterren();
    EXPECT_EQ(s.Regels(), (Regels{spoor::Vlak(600, 400, 602, 402, 7)}));
    EXPECT_EQ(sterren[7].z, Vlak - 5.0f);
}

TEST_F(Sterren, TurningByZeroIsTheSameAsNotTurning) {
    Lib::ModuleInit();
    InitSterren();
    Vector begin[AantalSterren];
    std::copy(std::begin(sterren), std::end(sterren), begin);
    Spoor s1;
    TekenSterren();
    TekenSterren();
    const Regels zonder = s1.Regels();
    Vector na[AantalSterren];
    std::copy(std::begin(sterren), std::end(sterren), na);

    std::copy(std::begin(begin), std::end(begin), sterren);
    Spoor s2;
    TekenEnDraaiSterren(0);
    TekenEnDraaiSterren(0);
    EXPECT_EQ(s2.Regels(), zonder);
    for (int i = 0; i < int(AantalSterren); ++i) {
        EXPECT_EQ(sterren[i].x, na[i].x);
        EXPECT_EQ(sterren[i].y, na[i].y);
        EXPECT_EQ(sterren[i].z, na[i].z);
    }
}

// The field spins about the line of sight: +x turns towards +y on screen.
TEST_F(Sterren, TurningSpinsAboutTheLineOfSight) {
    LeegVeld(sterren);
    sterren[0] = {10, 0, 50};
    TekenEnDraaiSterren(90);
    EXPECT_NEAR(sterren[0].x, 0, 1e-5);
    EXPECT_NEAR(sterren[0].y, 10, 1e-5);
    EXPECT_EQ(sterren[0].z, 45.0f);
}

TEST_F(Sterren, NewStarsComeFromTheLibraryGeneratorInTheOrderXYZ) {
    Lib::ModuleInit();
    std::vector<double> r(3 * AantalSterren);
    for (double& v : r) v = Lib::RAND();
    Lib::ModuleInit();
    LeegVeld(sterrenS);
    InitSterren();
    for (int i = 0; i < int(AantalSterren); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(sterren[i].x, float(r[3 * i] * 300 - 150));
        EXPECT_EQ(sterren[i].y, float(r[3 * i + 1] * 300 - 150));
        EXPECT_EQ(sterren[i].z, float(r[3 * i + 2] * 150 + 1));
        EXPECT_EQ(sterrenS[i].z, 50.0f);  // the game's field is not touched
    }
    Lib::ModuleInit();
    InitSterrenS();
    EXPECT_EQ(sterrenS[200].z, sterren[200].z);
}

// The game's field moves on the level's first frame and on every fifth
// frame after it: frames 1, 6, 11 counting the first as 1.
TEST_F(Sterren, GameStarsMoveOnFramesOneSixEleven) {
    LeegVeld(sterrenS);
    sterrenS[0] = {0, 0, 100};
    sterrenS[200] = {0, 0, 3};
    TimerSterren = 0;
    std::vector<int> bewogen;
    float vorige = 100;
    for (int frame = 1; frame <= 12; ++frame) {
        TekenSterrenS();
        if (sterrenS[0].z != vorige) bewogen.push_back(frame);
        vorige = sterrenS[0].z;
    }
    EXPECT_EQ(bewogen, (std::vector<int>{1, 6, 11}));
    EXPECT_EQ(sterrenS[0].z, 85.0f);
    EXPECT_EQ(sterrenS[200].z, 290.0f);  // wrapped on frame 1, then moved twice
    EXPECT_EQ(TimerSterren, 2u);
}

TEST_F(Sterren, ClearingPaintsTheWholeSurfaceBlack) {
    Graph::Rectangle(0, 0, 1025, 730, 14, true);
    Spoor s;
    KuisSchermGroot();
    EXPECT_EQ(s.Regels(), (Regels{spoor::Vlak(0, 0, 1025, 730, 0)}));
    Graph::Sync();
    EXPECT_EQ(Graph::PixelIndex(0, 0), 0);
    EXPECT_EQ(Graph::PixelIndex(1023, 728), 0);
}

TEST_F(Sterren, FrameBarsPaintTheirPixelsAndNothingElse) {
    Graph::Rectangle(0, 0, 1025, 730, 14, true);
    Spoor s;
    KuisSchermVarko();
    EXPECT_EQ(s.Regels(), (Regels{spoor::Vlak(0, 0, 1025, 730, 0), spoor::Vlak(107, 60, 918, 65, 7),
                                  spoor::Vlak(107, 60, 112, 670, 7), spoor::Vlak(107, 670, 918, 664, 7),
                                  spoor::Vlak(912, 670, 918, 60, 7)}));
    Graph::Sync();
    auto wit = [](int x0, int x1, int y0, int y1) {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                if (Graph::PixelIndex(x, y) != 7) return false;
        return true;
    };
    EXPECT_TRUE(wit(107, 916, 60, 63));    // top
    EXPECT_TRUE(wit(107, 110, 60, 668));   // left
    EXPECT_TRUE(wit(107, 916, 664, 668));  // bottom
    EXPECT_TRUE(wit(912, 916, 60, 668));   // right
    int wittePixels = 0;
    for (int y = 0; y < 730; ++y)
        for (int x = 0; x < 1025; ++x) wittePixels += Graph::PixelIndex(x, y) == 7;
    EXPECT_EQ(wittePixels, 810 * 4 + 810 * 5 + 4 * (664 - 64) + 5 * (664 - 64));
    EXPECT_EQ(Graph::PixelIndex(111, 64), 0);  // inside the frame
}

TEST_F(Sterren, AStarOnColumn912LiesOnTheRightBar) {
    KuisSchermVarko();
    TekenSter(OpPixel(912, 300));
    Graph::Sync();
    EXPECT_EQ(Graph::PixelIndex(912, 300), 7);
    EXPECT_EQ(Graph::PixelIndex(911, 300), 0);
}
