// A long scripted game at the heaviest settings (level 8, speed 0.25) with
// fire and steering keys on most frames, meant to run under the sanitizers:
// no crash, no sanitizer report, no counter past its array.
//
// Drawing every frame through the graphics thread would take far too long
// under the sanitizers, so most frames run the frame's own procedures in the
// frame's order without its drawing steps; every 50th frame is a full SIM
// with captions and lives, and the run ends with whole games through SPEL.
#include <gtest/gtest.h>

#include "game/Game.h"
#include "game/GameState.h"
#include "platform/console/IO.h"
#include "platform/console/InputQueue.h"
#include "tests/game/SpelOmgeving.h"

namespace spel_test {
namespace {

using namespace KYR12;

constexpr long SoakFrames = 100'000;
constexpr int VolledigeFrameElke = 50;

// A small fixed generator for the key script, independent of the game's own.
class ToetsScript {
public:
    explicit ToetsScript(bool sturen) : sturen_(sturen) {}
    // Fire on half the frames, steer on a third (when steering), nothing on the rest.
    void VolgendeToets() {
        toestand_ = toestand_ * 1103515245u + 12345u;
        const uint32_t r = (toestand_ >> 16) % 12;
        if (r < 6) {
            Druk(Toets::Spatie);
        } else if (r < 10 && sturen_) {
            Druk(static_cast<Toets>(r - 6));   // Op, Rechts, Neer, Links
        }
    }

private:
    bool sturen_;
    uint32_t toestand_ = 2026;
};

void ControleerTellers() {
    ASSERT_LE(CNTVijand, MaxVijand);
    ASSERT_LE(CNTKogA, MaxKogel);
    ASSERT_LE(CNTKogV, MaxKogel);
    ASSERT_GE(Aanvaller.life, 1u);
    ASSERT_LE(Aanvaller.life, 6u);
}

// SIM's steps without its drawing.
void RekenFrame() {
    VijandLoop();
    KogelALoop();
    KogelVLoop();
    CheckV();
    CheckA();
    if (IO::KeyPressed()) {
        AanvallerDo();
    }
    TimerVijand += 1;
}

bool LevelVoorbij() {
    return Aanvaller.life == 1 || Quit || CNTVijand > 12 * level || CNTKogV > 10000;
}

TEST_F(SpelTest, SoakAtLevelEightFullSpeed) {
    level = 8;
    Snelheid = 0.25f;
    ToetsScript script(true);
    long frames = 0;
    int levels = 0, verloren = 0;
    while (frames < SoakFrames) {
        Initialize();
        ++levels;
        do {
            script.VolgendeToets();
            if (frames % VolledigeFrameElke == 0) {
                SIM();
                KortMENU();
                Leven();
            } else {
                RekenFrame();
            }
            ++frames;
            ControleerTellers();
            // Every third level the player is kept alive, so whole levels run too.
            if (levels % 3 == 0 && Aanvaller.life < 3) Aanvaller.life = 6;
        } while (!LevelVoorbij());
        if (Aanvaller.life == 1) ++verloren;
        IO::ClearInput();
    }
    EXPECT_GE(levels, 3);
    RecordProperty("levels", levels);
    RecordProperty("lost", verloren);
}

// Whole games through SPEL at level 8. The first is played with fire and
// steering on most frames, which keeps the player alive, and is ended with
// the quit key; the second is played without keys at speed 0, where the
// enemies' fire reaches the player: it is lost, with the explosion and the outro.
TEST_F(SpelTest, SoakWholeGames) {
    level = 8;
    ToetsScript script(true);
    bool spelen = true;
    long frames = 0, framesInSpel = 0;
    CARDINAL gezien = 0;
    klok.naWachten = [&](uint64_t, uint64_t) {
        if (TimerVijand != gezien) {
            gezien = TimerVijand;
            ++frames;
            ControleerTellers();
            ++framesInSpel;
            if (spelen && framesInSpel == 2500) {
                Druk(Toets::Q);
            } else if (spelen && framesInSpel < 2500) {
                script.VolgendeToets();
            }
        }
    };
    Snelheid = 0.25f;
    SPEL();
    EXPECT_TRUE(Quit);
    IO::ClearInput();
    spelen = false;
    framesInSpel = 0;
    Snelheid = 0.0f;
    SPEL();
    EXPECT_EQ(Aanvaller.life, 1u);
    EXPECT_EQ(level, 8u);
    klok.naWachten = nullptr;
    RecordProperty("frames", static_cast<int>(frames));
}

}  // namespace
}  // namespace spel_test
