// The shared game state resets to the values at program load.
#include <gtest/gtest.h>

#include "game/GameState.h"

using namespace KYR12;

TEST(GameState, ResetPutsEveryVariableBackToItsLoadValue) {
    level = CNTKogA = TimerSterren = 5;
    Snelheid = 0.25f;
    TOTALQUIT = Quit = true;
    VijandAr[MaxVijand] = {{1, 2, 3}, {4, 5, 6}, true, 7, LIGHTRED};
    KogelAAr[MaxKogel].life = true;
    vy2 = sterrenS[200] = sterren[0] = {1, 2, 3};
    ResetGameState();
    EXPECT_EQ(level + CNTKogA + TimerSterren, 0u);
    EXPECT_EQ(Snelheid + vy2.z + sterrenS[200].z + sterren[0].x + VijandAr[MaxVijand].vectV.z, 0.0f);
    EXPECT_FALSE(TOTALQUIT || Quit || VijandAr[MaxVijand].life || KogelAAr[MaxKogel].life);
}
