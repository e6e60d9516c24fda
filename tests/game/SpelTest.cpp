// Whole games through SPEL on the fake clock, and the frame pacing. The
// clock's hook runs after every wait; the first wait after TimerVijand has
// changed is the pacing wait at the end of a frame, where these tests look
// at the game or act on it.
#include <gtest/gtest.h>

#include "game/Game.h"
#include "game/SpelIntern.h"
#include "tests/game/SpelOmgeving.h"

namespace spel_test {
namespace {

using namespace KYR12;

constexpr uint64_t Aankondiging = 1'500'000;

TEST(FrameTempo, SlotsOfOneSixtiethSecondWithoutDriftOrCatchUp) {
    FrameTempo tempo = StartTempo(1000);
    EXPECT_EQ(VolgendeFrameStart(tempo, 1500), 1000u + 16666u);
    EXPECT_EQ(VolgendeFrameStart(tempo, 1000 + 33333), 1000u + 33333u);   // on time: no new anchor
    EXPECT_EQ(VolgendeFrameStart(tempo, 1000 + 40000), 1000u + 50000u);
    for (int k = 4; k < 60; ++k) VolgendeFrameStart(tempo, 0);
    EXPECT_EQ(VolgendeFrameStart(tempo, 0), 1000u + 1000000u);
    EXPECT_EQ(VolgendeFrameStart(tempo, 2000000), 2000000u);   // late: start at once
    EXPECT_EQ(VolgendeFrameStart(tempo, 2000001), 2000000u + 16666u);
}

class SpelVerloop : public SpelTest {
protected:
    // Runs `naFrame` after every frame and `bijAankondiging` after each of the
    // announcement's waits (numbered from 1 over the whole game).
    void Speel(std::function<void()> naFrame, std::function<void(int)> bijAankondiging = nullptr) {
        int wachten = 0;
        CARDINAL gezien = 0;
        klok.afterWait = [&](uint64_t van, uint64_t tot) {
            if (tot - van == Aankondiging) {
                gezien = 0;
                if (bijAankondiging) bijAankondiging(++wachten);
            } else if (TimerVijand != gezien) {
                gezien = TimerVijand;
                if (naFrame) naFrame();
            }
        };
        SPEL();
        klok.afterWait = nullptr;
    }
};

TEST_F(SpelVerloop, FramesStartOnTheirSlots) {
    std::vector<uint64_t> starts;
    uint64_t t0 = 0;
    Speel([&] {
        starts.push_back(klok.now - t0);
        if (TimerVijand == 30) Druk(Toets::Q);
    }, [&](int) { t0 = klok.now; });
    ASSERT_EQ(starts.size(), 31u);
    for (std::size_t k = 1; k <= starts.size(); ++k) EXPECT_EQ(starts[k - 1], k * 50000 / 3);
}

TEST_F(SpelVerloop, AnnouncementFrameAndCaptionsThenQuitWithoutOutro) {
    level = 3;
    Druk(Toets::Q);
    Spoor spoor;
    spoor.Start(&klok);
    SPEL();
    const std::vector<std::string> r = spoor.Stop();
    const std::vector<std::string> volgorde = {
        "text 487 365 3 \"level\"", "text 499 385 3 \"3\"", "wait 1500000",
        "text 382 425 3 \"!!FASTEN YOUR SEATBELT PLEASE!!\"", "wait 1500000",
        "text 502 35 3 \"# lives\"", "text 965 365 3 \"3\"", "text 950 345 3 \"level\"",
        "text 40 365 3 \"0\"", "text 25 345 3 \"Score\"", "rect 483 10 502 30 3 fill",
        "rect 563 10 582 30 7 fill"};
    auto pos = r.begin();
    for (const std::string& regel : volgorde) {
        pos = std::find(pos, r.end(), regel);
        EXPECT_NE(pos, r.end()) << regel;
    }
    EXPECT_EQ(LinesStartingWith(r, "text 502 35").size(), 1u);   // one frame
    EXPECT_TRUE(LinesStartingWith(r, "ellipse").empty());        // no explosion, no outro
    EXPECT_EQ(r.back(), "rect 0 0 1025 730 0 fill");
    EXPECT_EQ(level, 3u);
}

// Nothing reads the keyboard during the announcement; the frames then take
// one key each, in the order typed.
TEST_F(SpelVerloop, KeysTypedDuringTheAnnouncementAreHandledOnePerFrame) {
    Speel(nullptr, [](int wacht) {
        if (wacht == 1) {
            for (Toets t : {Toets::Spatie, Toets::Links, Toets::Spatie, Toets::Q}) Druk(t);
        }
    });
    EXPECT_EQ(TimerVijand, 4u);
    ASSERT_EQ(CNTKogA, 2u);
    EXPECT_EQ(KogelAAr[1].vectB.x, 0.1f);
    EXPECT_EQ(KogelAAr[2].vectB.x, 0.0f);
}

// Without keys the player survives level 1, which runs its full length.
TEST_F(SpelVerloop, ALevelOneGameLasts6001FramesAndSends13Enemies) {
    CARDINAL frames = 0, vijanden = 0;
    Speel([&] {
        if (level == 1) frames = TimerVijand, vijanden = CNTVijand;
    }, [](int wacht) {
        if (wacht == 3) Druk(Toets::Q);   // level 2 is being announced
    });
    EXPECT_EQ(frames, 6001u);
    EXPECT_EQ(vijanden, 13u);
    EXPECT_EQ(level, 2u);
}

// A replay pinned to this implementation's arithmetic and order of random
// draws: at level 8 and speed 0 a game without keys is lost in frame 1679.
TEST_F(SpelVerloop, AGameWithoutKeysIsLostAtAFixedFrame) {
    level = 8;
    CARDINAL frames = 0, vijanden = 0;
    Speel([&] { frames = TimerVijand, vijanden = CNTVijand; });
    EXPECT_EQ(frames, 1679u);
    EXPECT_EQ(vijanden, 11u);
    EXPECT_EQ(Aanvaller.life, 1u);
}

// The level is moved on to its last frame (the one that sends enemy 13) and a
// bullet is put on its way to a player with one life left: completed and
// lost in the same frame is a game over at that level.
TEST_F(SpelVerloop, LosingInTheLevelsLastFrameIsGameOverAtThatLevel) {
    Spoor spoor;
    Speel([&] {
        if (TimerVijand != 1) return;
        TimerVijand = 6000;
        CNTVijand = 12;
        Aanvaller.life = 2;
        ZetKogelV(CNTKogV + 1, {0.0f, 0.0f, 12.0f});
        spoor.Start();
    });
    const std::vector<std::string> r = spoor.Stop();
    EXPECT_EQ(CNTVijand, 13u);
    EXPECT_EQ(level, 1u);
    EXPECT_EQ(LinesStartingWith(r, "ellipse 212 65 812 665").size(), 100u);
    EXPECT_FALSE(LinesStartingWith(r, "text 75 100 13").empty());   // the outro's first row
    EXPECT_EQ(r.back(), "rect 0 0 1025 730 0 fill");
}

// More than 10000 enemy bullets also complete a level; level 8 repeats.
TEST_F(SpelVerloop, LevelsRiseToEightAndEightRepeats) {
    level = 7;
    std::vector<CARDINAL> aangekondigd;
    Speel([] { CNTKogV = 10001; }, [&](int wacht) {
        if (wacht % 2 == 1) aangekondigd.push_back(level);
        if (wacht == 5) Druk(Toets::Q);
    });
    EXPECT_EQ(aangekondigd, (std::vector<CARDINAL>{7, 8, 8}));
    EXPECT_EQ(level, 8u);
}

}  // namespace
}  // namespace spel_test
