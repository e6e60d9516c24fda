// Long scripted games at the heaviest settings, meant for the sanitizer
// build: no crash, no sanitizer report, no counter past its array. Drawing
// every frame through the graphics thread would take far too long there, so
// the long run plays most frames as SIM's own steps without its drawing and
// every 50th as a full SIM with captions and lives; whole games follow.
#include <gtest/gtest.h>

#include "game/Game.h"
#include "platform/console/IO.h"
#include "platform/console/InputQueue.h"
#include "tests/game/GameHarness.h"

namespace gametest {
namespace {

using namespace KYR12;

// Fire on half the frames, steer on a third, nothing on the rest.
void NextKey() {
    static uint32_t state = 2026;
    static const char* const steering[4] = {"UP", "RIGHT", "DOWN", "LEFT"};
    state = state * 1103515245u + 12345u;
    const uint32_t r = (state >> 16) % 12;
    if (r < 6) PostKeyDown("SPACE");
    else if (r < 10) PostKeyDown(steering[r - 6]);
}

void CheckCounters() {
    ASSERT_LE(CNTVijand, MaxVijand);
    ASSERT_LE(CNTKogA, MaxKogel);
    ASSERT_LE(CNTKogV, MaxKogel);
    ASSERT_GE(Aanvaller.life, 1u);
}

void Frame(long number) {
    if (number % 50 == 0) {
        SIM();
        KortMENU();
        Leven();
        return;
    }
    VijandLoop();
    KogelALoop();
    KogelVLoop();
    CheckV();
    CheckA();
    if (IO::KeyPressed()) AanvallerDo();
    TimerVijand += 1;
}

// Level 8 at speed 0.25 for 100000 frames; every third level the player is
// kept alive so that whole levels run as well.
TEST_F(GameTest, SoakAtLevelEightFullSpeed) {
    level = 8;
    Snelheid = 0.25f;
    long frames = 0;
    int levels = 0;
    while (frames < 100'000) {
        Initialize();
        ++levels;
        do {
            NextKey();
            Frame(frames++);
            CheckCounters();
            if (levels % 3 == 0) Aanvaller.life = 6;
        } while (!(Aanvaller.life == 1 || Quit || CNTVijand > 12 * level || CNTKogV > 10000));
        IO::ClearInput();
    }
    EXPECT_GE(levels, 3);
}

// Whole games at level 8: one with keys on most frames (which keeps the player
// alive) ended by the quit key, then one without keys at speed 0, where the
// enemies' fire reaches the player: lost, with the explosion and the outro.
TEST_F(GameTest, SoakWholeGames) {
    level = 8;
    Snelheid = 0.25f;
    long frames = 0;
    CARDINAL seen = 0;
    clock.afterWait = [&](uint64_t, uint64_t) {
        if (TimerVijand == seen) return;
        seen = TimerVijand;
        CheckCounters();
        if (Snelheid == 0.0f) return;
        if (++frames == 2500) PostKeyDown("q");
        else if (frames < 2500) NextKey();
    };
    SPEL();
    EXPECT_TRUE(Quit);
    IO::ClearInput();
    Snelheid = 0.0f;
    SPEL();
    EXPECT_EQ(Aanvaller.life, 1u);
    EXPECT_EQ(level, 8u);
    clock.afterWait = nullptr;
}

}  // namespace
}  // namespace gametest
