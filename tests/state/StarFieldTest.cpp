// Star fields, screen clearing and the play-area frame, through the graphics
// service's request trace and back buffer.
#include <gtest/gtest.h>

#include <algorithm>

#include "game/GameState.h"
#include "game/Sterren.h"
#include "platform/console/Lib.h"
#include "platform/graph/Graph.h"
#include "platform/graph/GraphProbe.h"
#include "tests/support/OffscreenGraph.h"
#include "tests/support/TraceRecorder.h"

using namespace KYR12;
using QX3D::Vector;
using testsupport::TracedFilledRect;
using testsupport::TraceRecorder;
using Lines = std::vector<std::string>;

namespace {
// At the depth of the plane a star's offset from (512, 365) is its x and y;
// offsets round as TRUNC(v + 0.5), so a negative offset n needs v = n - 0.5.
float Offset(int n) { return n >= 0 ? float(n) : float(n) - 0.5f; }
Vector AtPixel(int x, int y) { return {Offset(x - 512), Offset(y - 365), 886.80999756f}; }

struct StarField : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(testsupport::OffscreenGraphForProcess());
        QX3D::Init3D(1025, 730, 60);
        ResetGameState();
        std::fill(std::begin(sterren), std::end(sterren), Vector{1e6f, 1e6f, 50});  // never drawn
        std::fill(std::begin(sterrenS), std::end(sterrenS), Vector{1e6f, 1e6f, 50});
    }
};
}  // namespace

TEST_F(StarField, OnlyStarsInsideTheWindowAreDrawnAsOnePixel) {
    TraceRecorder s;
    for (auto [x, y] : {std::pair{112, 300}, {913, 300}, {500, 65}, {500, 665}, {113, 66}, {912, 664}}) {
        TekenSter(AtPixel(x, y));
    }
    TekenSter({1, 1, 0});      // no projection
    TekenSter({1e30f, 0, 1});  // column beyond INTEGER
    EXPECT_EQ(s.Lines(), (Lines{TracedFilledRect(113, 66, 115, 68, 7), TracedFilledRect(912, 664, 914, 666, 7)}));
    EXPECT_EQ(Graph::PixelIndex(113, 66), 7);
    EXPECT_EQ(Graph::PixelIndex(114, 66) + Graph::PixelIndex(113, 67), 0);
}

// Drawn first, then moved: a star at 5.5 passes depth 1 and goes back to 300;
// one at 6.0 stops at 1.0. Turning by 0 changes nothing; by 90, +x goes to +y.
TEST_F(StarField, StarsAreDrawnThenMovedAndWrapAtDepthOne) {
    sterren[0] = {3, 4, 5.5f};
    sterren[1] = {3, 4, 6.0f};
    sterren[2] = AtPixel(600, 400);
    TraceRecorder s;
    TekenSterren();
    EXPECT_EQ(s.Lines(), (Lines{TracedFilledRect(600, 400, 602, 402, 7)}));
    EXPECT_EQ(sterren[0].z, 300.0f);
    EXPECT_EQ(sterren[0].x, 3.0f);
    EXPECT_EQ(sterren[1].z, 1.0f);
    TekenEnDraaiSterren(0);
    EXPECT_EQ(sterren[0].x, 3.0f);
    EXPECT_EQ(sterren[1].z, 300.0f);
    sterren[0] = {10, 0, 50};
    TekenEnDraaiSterren(90);
    EXPECT_NEAR(sterren[0].x, 0, 1e-5);
    EXPECT_NEAR(sterren[0].y, 10, 1e-5);
    EXPECT_EQ(sterren[0].z, 45.0f);
}

TEST_F(StarField, NewStarsTakeThreeLibraryNumbersEachInTheOrderXYZ) {
    Lib::ModuleInit();
    double r[3 * AantalSterren];
    for (double& v : r) v = Lib::RAND();
    Lib::ModuleInit();
    InitSterren();
    for (int i = 0; i < int(AantalSterren); ++i) {
        ASSERT_EQ(sterren[i].x, float(r[3 * i] * 300 - 150));
        ASSERT_EQ(sterren[i].y, float(r[3 * i + 1] * 300 - 150));
        ASSERT_EQ(sterren[i].z, float(r[3 * i + 2] * 150 + 1));
        ASSERT_EQ(sterrenS[i].z, 50.0f);  // the game's field is its own
    }
}

// The game's field moves on frames 1, 6, 11 of a level, counting the first as 1.
TEST_F(StarField, GameStarsMoveOnEveryFifthFrameFromTheFirst) {
    sterrenS[0] = {0, 0, 100};
    sterrenS[200] = {0, 0, 3};
    std::vector<int> moved;
    for (int frame = 1; frame <= 12; ++frame) {
        const float before = sterrenS[0].z;
        TekenSterrenS();
        if (sterrenS[0].z != before) moved.push_back(frame);
    }
    EXPECT_EQ(moved, (std::vector<int>{1, 6, 11}));
    EXPECT_EQ(sterrenS[200].z, 290.0f);  // wrapped on frame 1, then moved twice
    EXPECT_EQ(TimerSterren, 2u);
}

TEST_F(StarField, ClearingAndTheFrameBarsPaintExactlyTheirPixels) {
    Graph::Rectangle(0, 0, 1025, 730, 14, true);
    TraceRecorder s;
    KuisSchermVarko();
    TekenSter(AtPixel(912, 300));  // lies on the right bar
    EXPECT_EQ(s.Lines()[0], TracedFilledRect(0, 0, 1025, 730, 0));
    auto white = [](int x0, int x1, int y0, int y1) {
        int n = 0;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) n += Graph::PixelIndex(x, y) == 7;
        return n;
    };
    EXPECT_EQ(white(107, 916, 60, 63), 810 * 4);    // top
    EXPECT_EQ(white(107, 110, 60, 668), 4 * 609);   // left
    EXPECT_EQ(white(107, 916, 664, 668), 810 * 5);  // bottom
    EXPECT_EQ(white(912, 916, 60, 668), 5 * 609);   // right
    EXPECT_EQ(white(0, 1024, 0, 729), 810 * 9 + 9 * 600);  // nothing else, and no yellow left
    EXPECT_EQ(Graph::PixelIndex(1023, 728), 0);
}
