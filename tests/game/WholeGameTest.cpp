// Whole games through SPEL on the fake clock, and the frame pacing. The
// clock's hook runs after every wait; the first wait after TimerVijand has
// changed is the pacing wait at the end of a frame, where these tests look
// at the game or act on it.
#include <gtest/gtest.h>

#include <optional>

#include "game/Game.h"
#include "game/SpelIntern.h"
#include "tests/game/GameHarness.h"

namespace gametest {
namespace {

using namespace KYR12;

constexpr uint64_t Announcement = 1'500'000;   // each of the level announcement's two waits

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

class WholeGame : public GameTest {
protected:
    // Runs `afterFrame` after every frame and `atAnnouncement` after each of
    // the announcement's waits (numbered from 1 over the whole game).
    void Play(std::function<void()> afterFrame, std::function<void(int)> atAnnouncement = nullptr) {
        int waits = 0;
        CARDINAL seen = 0;
        clock.afterWait = [&](uint64_t from, uint64_t deadline) {
            if (deadline - from == Announcement) {
                seen = 0;
                if (atAnnouncement) atAnnouncement(++waits);
            } else if (TimerVijand != seen) {
                seen = TimerVijand;
                if (afterFrame) afterFrame();
            }
        };
        SPEL();
        clock.afterWait = nullptr;
    }
};

TEST_F(WholeGame, FramesStartOnTheirSlots) {
    std::vector<uint64_t> starts;
    uint64_t t0 = 0;
    Play([&] {
        starts.push_back(clock.now - t0);
        if (TimerVijand == 30) PostKeyDown("q");
    }, [&](int) { t0 = clock.now; });
    ASSERT_EQ(starts.size(), 31u);
    for (std::size_t k = 1; k <= starts.size(); ++k) EXPECT_EQ(starts[k - 1], k * 50000 / 3);
}

TEST_F(WholeGame, AnnouncementFrameAndCaptionsThenQuitWithoutOutro) {
    level = 3;
    PostKeyDown("q");
    TraceRecorder trace(clock);
    SPEL();
    const std::vector<std::string> r = trace.Stop();
    const std::vector<std::string> order = {
        "text 487 365 3 \"level\"", "text 499 385 3 \"3\"", "wait 1500000",
        "text 382 425 3 \"!!FASTEN YOUR SEATBELT PLEASE!!\"", "wait 1500000",
        "text 502 35 3 \"# lives\"", "text 965 365 3 \"3\"", "text 950 345 3 \"level\"",
        "text 40 365 3 \"0\"", "text 25 345 3 \"Score\"", "rect 483 10 502 30 3 fill",
        "rect 563 10 582 30 7 fill"};
    auto pos = r.begin();
    for (const std::string& line : order) {
        pos = std::find(pos, r.end(), line);
        EXPECT_NE(pos, r.end()) << line;
    }
    EXPECT_EQ(LinesStartingWith(r, "text 502 35").size(), 1u);   // one frame
    EXPECT_TRUE(LinesStartingWith(r, "ellipse").empty());        // no explosion, no outro
    EXPECT_EQ(r.back(), "rect 0 0 1025 730 0 fill");
    EXPECT_EQ(level, 3u);
}

// Nothing reads the keyboard during the announcement; the frames then take
// one key each, in the order typed.
TEST_F(WholeGame, KeysTypedDuringTheAnnouncementAreHandledOnePerFrame) {
    Play(nullptr, [](int wait) {
        if (wait == 1) {
            for (const char* key : {"SPACE", "LEFT", "SPACE", "q"}) PostKeyDown(key);
        }
    });
    EXPECT_EQ(TimerVijand, 4u);
    ASSERT_EQ(CNTKogA, 2u);
    EXPECT_EQ(KogelAAr[1].vectB.x, 0.1f);
    EXPECT_EQ(KogelAAr[2].vectB.x, 0.0f);
}

// Without keys the player survives level 1, which runs its full length.
TEST_F(WholeGame, ALevelOneGameLasts6001FramesAndSends13Enemies) {
    CARDINAL frames = 0, enemies = 0;
    Play([&] {
        if (level == 1) frames = TimerVijand, enemies = CNTVijand;
    }, [](int wait) {
        if (wait == 3) PostKeyDown("q");   // level 2 is being announced
    });
    EXPECT_EQ(frames, 6001u);
    EXPECT_EQ(enemies, 13u);
    EXPECT_EQ(level, 2u);
}

// A replay pinned to this implementation's arithmetic and order of random
// draws: at level 8 and speed 0 a game without keys is lost in frame 1679.
TEST_F(WholeGame, AGameWithoutKeysIsLostAtAFixedFrame) {
    level = 8;
    CARDINAL frames = 0, enemies = 0;
    Play([&] { frames = TimerVijand, enemies = CNTVijand; });
    EXPECT_EQ(frames, 1679u);
    EXPECT_EQ(enemies, 11u);
    EXPECT_EQ(Aanvaller.life, 1u);
}

// The level is moved on to its last frame (the one that sends enemy 13) and a
// bullet is put on its way to a player with one life left: completed and
// lost in the same frame is a game over at that level.
TEST_F(WholeGame, LosingInTheLevelsLastFrameIsGameOverAtThatLevel) {
    std::optional<TraceRecorder> trace;
    Play([&] {
        if (TimerVijand != 1) return;
        TimerVijand = 6000;
        CNTVijand = 12;
        Aanvaller.life = 2;
        PlaceEnemyBullet(CNTKogV + 1, {0.0f, 0.0f, 12.0f});
        trace.emplace();
    });
    ASSERT_TRUE(trace);
    const std::vector<std::string> r = trace->Stop();
    EXPECT_EQ(CNTVijand, 13u);
    EXPECT_EQ(level, 1u);
    EXPECT_EQ(LinesStartingWith(r, "ellipse 212 65 812 665").size(), 100u);
    EXPECT_FALSE(LinesStartingWith(r, "text 75 100 13").empty());   // the outro's first row
    EXPECT_EQ(r.back(), "rect 0 0 1025 730 0 fill");
}

// More than 10000 enemy bullets also complete a level; level 8 repeats.
TEST_F(WholeGame, LevelsRiseToEightAndEightRepeats) {
    level = 7;
    std::vector<CARDINAL> announced;
    Play([] { CNTKogV = 10001; }, [&](int wait) {
        if (wait % 2 == 1) announced.push_back(level);
        if (wait == 5) PostKeyDown("q");
    });
    EXPECT_EQ(announced, (std::vector<CARDINAL>{7, 8, 8}));
    EXPECT_EQ(level, 8u);
}

}  // namespace
}  // namespace gametest
