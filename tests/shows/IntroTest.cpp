// The title glyphs and the intro, checked against the recorded requests.
#include <gtest/gtest.h>

#include <algorithm>

#include "shows/Shows.h"
#include "shows/Titel.h"
#include "tests/shows/ShowRecording.h"

using namespace showtest;
using namespace KYR12;
using QX3D::Polyhedron;

TEST(Title, FullTurnBringsTheGlyphsBack) {
    Polyhedron C[4]{}, S[7]{}, SS[7]{};
    MaakC(C);
    MaakS(S);
    MaakSS(SS);
    const QX3D::Vector naarVoren = QX3D::MaakVector(-70, 0, 258);   // where the approach leaves them
    verschuifC(C, naarVoren);
    verschuifS(S, naarVoren);
    verschuifSS(SS, naarVoren);
    Polyhedron C0[4], SS0[7];
    std::copy(std::begin(C), std::end(C), C0);
    std::copy(std::begin(SS), std::end(SS), SS0);
    for (int graad = 0; graad < 360; ++graad)
        DraaiKYRRondAs(C, S, SS, 1.0f, QX3D::MaakVector(0, 1, 0), QX3D::MaakVector(0, 0, 260));
    for (int h = 0; h < 8; ++h) {
        EXPECT_NEAR(C[2].hoek[h].x, C0[2].hoek[h].x, 0.05);
        EXPECT_NEAR(SS[5].hoek[h].x, SS0[5].hoek[h].x, 0.05);
        EXPECT_NEAR(SS[5].hoek[h].z, SS0[5].hoek[h].z, 0.05);
    }
    EXPECT_EQ(S[6].hoek[3].x, 0);   // slot 6 is never built or turned
}

TEST(Intro, FramesTitleLinesAndQueuedKeys) {
    PrepareShow();
    PostKeyDown("x");
    const std::vector<Frame> recording = Record(Intro);
    ASSERT_EQ(recording.size(), 581u);
    EXPECT_EQ(TotalWaitMs(recording), 581u * 50);
    EXPECT_EQ(FirstQueuedCharacter(), 'x');

    // Every request of every frame as the whole program draws it: C1 edge
    // 0-1 (corners at z 750 and 650) first in frame 0, SS5 edge 2-6 last; the
    // last approach frame (220) at offset 260; the first turn frame unturned
    // at 258.
    EXPECT_EQ(DifferenceFromGolden("intro", recording), "");

    // Approach: 13 blocks of 12 edges at depth offset 700, no text.
    EXPECT_EQ(recording[0].lines.front(), kClearScreen);
    ASSERT_EQ(recording[0].Requests("line").size(), 156u);
    EXPECT_TRUE(recording[0].Texts().empty());
    EXPECT_NE(recording[220].Requests("line")[0], recording[221].Requests("line")[0]);

    for (std::size_t b = 221; b < recording.size(); ++b) {
        const std::vector<TraceText> t = recording[b].Texts();
        ASSERT_EQ(t.size(), 5u);
        EXPECT_EQ(t[1].text, "       in STUNNING 3D...");
        EXPECT_EQ(t[3].x + t[3].y * 10000, 380 + 605 * 10000);
        EXPECT_EQ(t[4].colour, LIGHTYELLOW);
    }
}

TEST(Intro, EveryReplaySeedsTheStarsFromTheClock) {
    PrepareShow(5);
    const std::vector<std::string> eerste = Record(Intro)[0].Requests("rect");
    const std::vector<std::string> tweede = Record(Intro)[0].Requests("rect");
    PrepareShow(6);
    const std::vector<std::string> derde = Record(Intro)[0].Requests("rect");
    EXPECT_GT(eerste.size(), 10u);
    EXPECT_EQ(eerste, tweede);
    EXPECT_NE(eerste, derde);
}
