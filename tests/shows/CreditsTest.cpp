// The credits and the outro, checked against the recorded requests.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "shows/Shows.h"
#include "tests/shows/Opname.h"

using namespace ShowsTest;

namespace {

// The texts of a frame cut into runs: a wave text is a run of characters
// 11 pixels apart ending in its empty zero element; a plain text stands alone.
std::vector<std::vector<Tekst>> Runs(const Beeld& b) {
    std::vector<std::vector<Tekst>> runs;
    for (const Tekst& t : b.Teksten()) {
        const bool verder = !runs.empty() && runs.back().back().x + 11 == t.x && runs.back().back().tekst.size() == 1;
        if (!verder) runs.emplace_back();
        runs.back().push_back(t);
    }
    return runs;
}

// Row offsets of ten characters of run r (from character `van` on) from its base line.
std::vector<int> Rijen(const Beeld& b, std::size_t r, std::size_t van = 0) {
    const int basis[6] = {25, 200, 250, 300, 400, 450};
    std::vector<int> uit;
    const std::vector<Tekst> run = Runs(b)[r];
    for (std::size_t i = van; i < van + 10; ++i) uit.push_back(run.at(i).y - basis[r]);
    return uit;
}

// Column span of the outro's arm: the second solid's twelve edges.
int ArmBreedte(const Beeld& b) {
    int minX = 1 << 30, maxX = 0;
    const std::vector<std::string> lijnen = b.Soort("line");
    for (std::size_t n = 12; n < 24; ++n) {
        int x1, y1, x2, y2;
        std::sscanf(lijnen.at(n).c_str(), "line %d %d %d %d", &x1, &y1, &x2, &y2);
        minX = std::min({minX, x1, x2});
        maxX = std::max({maxX, x1, x2});
    }
    return maxX - minX;
}

}  // namespace

TEST(Credits, LinesScrollInStopAndKeepTheirWaves) {
    Omgeving();
    TypToets('q');
    const std::vector<Beeld> o = Neem(KYR12::Credits);
    ASSERT_EQ(o.size(), 1302u);
    EXPECT_EQ(MetWacht(o, 25).size(), 1302u);
    EXPECT_TRUE(ToetsNogInRij('q'));

    // Header and three lines entering from x = 950; the lines reach x = 250 in
    // the last scroll-in frame and stand there; the header moves 20 pixels.
    for (std::size_t i : {0u, 359u, 700u, 701u, 1301u}) {
        const auto runs = Runs(o[i]);
        ASSERT_EQ(runs.size(), i <= 700 ? 4u : 6u) << "frame " << i;
        EXPECT_EQ(runs[0][0].x, i <= 700 ? 380 : 400);
        for (int r = 1; r <= 3; ++r) EXPECT_EQ(runs[r][0].x, i <= 700 ? 950 - static_cast<int>(i) : 250);
    }
    EXPECT_EQ(Runs(o[701])[4][0].x, 432);

    // Line 2 runs one character ahead of lines 1 and 3. At i = 360 of either
    // phase lines 1 and 3 jump back to their first wave; line 2 travels on.
    for (std::size_t s : {0u, 701u}) {
        EXPECT_EQ(Rijen(o[s], 2), Rijen(o[s], 1, 1));
        EXPECT_EQ(Rijen(o[s + 360], 1), Rijen(o[s], 1));
        EXPECT_EQ(Rijen(o[s + 360], 3), Rijen(o[s], 3));
        EXPECT_NE(Rijen(o[s + 360], 1), Rijen(o[s + 359], 1, 1));
        EXPECT_EQ(Rijen(o[s + 359], 2), Rijen(o[s + 358], 2, 1));
        EXPECT_EQ(Rijen(o[s + 360], 2), Rijen(o[s + 359], 2, 1));
    }
    // The thanks line travels at half speed: frames 2m and 2m + 1 agree.
    EXPECT_EQ(Rijen(o[701 + 40], 5), Rijen(o[701 + 41], 5));
    EXPECT_NE(Rijen(o[701 + 41], 5), Rijen(o[701 + 42], 5));
}

TEST(Outro, RowsAndATurningBlackCrossWithoutClearing) {
    Omgeving();
    TypToets('q');
    const std::vector<Beeld> o = Neem(KYR12::Outro);
    ASSERT_EQ(o.size(), 201u);
    EXPECT_EQ(MetWacht(o, 25).size(), 201u);
    EXPECT_TRUE(ToetsNogInRij('q'));
    EXPECT_EQ(VerschilMetGolden("outro", o), "");   // as after a lost game
    for (const Beeld& b : o) {
        EXPECT_TRUE(b.Soort("rect").empty());
        const std::vector<Tekst> rijen = b.Teksten();
        ASSERT_EQ(rijen.size(), 36u);
        EXPECT_EQ(rijen[35].y + 1000 * rijen[35].kleur, 625 + 1000 * LIGHTMAGENTA);
        ASSERT_EQ(b.Soort("line").size(), 24u);
        for (const std::string& l : b.Soort("line")) EXPECT_EQ(l.back(), '0') << l;
    }
    // The arm starts along the line of sight and lies across the screen
    // after 36 frames of 2.5 degrees.
    EXPECT_LT(ArmBreedte(o[0]), 110);
    EXPECT_GT(ArmBreedte(o[36]), 200);
}
