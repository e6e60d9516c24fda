// The shared game state starts, and resets, to the values at program load.
#include <gtest/gtest.h>

#include "game/GameState.h"

using namespace KYR12;

TEST(GameState, ResetPutsEveryVariableBackToItsLoadValue) {
    level = 5;
    Snelheid = 0.25f;
    TOTALQUIT = true;
    score = TimerVijand = TimerSterren = CNTVijand = CNTKogV = CNTKogA = 9;
    Quit = true;
    Aanvaller.life = 3;
    VijandAr[MaxVijand] = {{1, 2, 3}, {4, 5, 6}, true, 7, LIGHTRED};
    KogelAAr[MaxKogel].life = true;
    KogelVAr[1].vectB = {1, 1, 1};
    vx1 = vx2 = vy1 = vy2 = {0.1f, 0.1f, 1e-33f};
    sterrenS[200] = sterren[0] = {1, 2, 3};

    ResetGameState();

    EXPECT_EQ(level, 0u);
    EXPECT_EQ(Snelheid, 0.0f);
    EXPECT_FALSE(TOTALQUIT);
    EXPECT_EQ(score + TimerVijand + TimerSterren + CNTVijand + CNTKogV + CNTKogA, 0u);
    EXPECT_FALSE(Quit);
    EXPECT_EQ(Aanvaller.life, 0u);
    EXPECT_FALSE(VijandAr[MaxVijand].life);
    EXPECT_EQ(VijandAr[MaxVijand].kogeltimer, 0u);
    EXPECT_EQ(VijandAr[MaxVijand].vectV.z, 0.0f);
    EXPECT_FALSE(KogelAAr[MaxKogel].life);
    EXPECT_EQ(KogelVAr[1].vectB.x, 0.0f);
    EXPECT_EQ(vx1.z + vx2.x + vy1.y + vy2.z, 0.0f);
    EXPECT_EQ(sterrenS[200].z, 0.0f);
    EXPECT_EQ(sterren[0].x, 0.0f);
}
