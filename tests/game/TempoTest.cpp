// Frame pacing: the slot arithmetic, and the start times of a running game's frames.
#include <gtest/gtest.h>

#include "game/Game.h"
#include "game/SpelIntern.h"
#include "tests/game/SpelOmgeving.h"

namespace spel_test {
namespace {

using KYR12::FrameTempo;
using KYR12::StartTempo;
using KYR12::VolgendeFrameStart;

TEST(FrameTempo, SlotsFollowOneSixtiethOfASecondWithoutDrift) {
    FrameTempo tempo = StartTempo(1000);
    EXPECT_EQ(VolgendeFrameStart(tempo, 1500), 1000u + 16666u);
    EXPECT_EQ(VolgendeFrameStart(tempo, 1000 + 16666), 1000u + 33333u);
    EXPECT_EQ(VolgendeFrameStart(tempo, 1000 + 40000), 1000u + 50000u);
    uint64_t start = 0;
    for (int k = 4; k <= 60; ++k) {
        start = VolgendeFrameStart(tempo, start);
    }
    EXPECT_EQ(start, 1000u + 1000000u);   // one second after 60 frames, exactly
}

TEST(FrameTempo, ALateFrameIsFollowedAtOnceAndTheSlotsCountFromThere) {
    FrameTempo tempo = StartTempo(0);
    EXPECT_EQ(VolgendeFrameStart(tempo, 16666), 16666u);   // exactly on time: no wait, no new anchor
    EXPECT_EQ(VolgendeFrameStart(tempo, 250000), 250000u);  // an explosion ran long
    EXPECT_EQ(VolgendeFrameStart(tempo, 250100), 250000u + 16666u);
    EXPECT_EQ(VolgendeFrameStart(tempo, 250000 + 16700), 250000u + 33333u);
}

// Frame k of a level starts at t0 + k * 50000 / 3, t0 being the moment the
// level's frame loop began; the hook records each frame's end-of-frame wait.
TEST_F(SpelTest, FramesOfALevelStartOnTheirSlots) {
    std::vector<uint64_t> deadlines;
    uint64_t t0 = 0;
    CARDINAL gezien = 0;
    klok.naWachten = [&](uint64_t van, uint64_t tot) {
        if (tot - van == 1'500'000) {
            t0 = tot;   // end of the announcement; the level starts now
        } else if (KYR12::TimerVijand != gezien) {
            gezien = KYR12::TimerVijand;   // first wait after a frame: the pacing wait
            deadlines.push_back(tot);
            if (gezien == 30) {
                Druk(Toets::Q);
            }
        }
    };
    KYR12::SPEL();
    ASSERT_EQ(deadlines.size(), 31u);
    for (std::size_t k = 0; k < deadlines.size(); ++k) {
        EXPECT_EQ(deadlines[k], t0 + (k + 1) * 50000 / 3) << "after frame " << k;
    }
}

}  // namespace
}  // namespace spel_test
