// The credits and the outro, checked against the recorded requests.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "platform/console/InputQueue.h"
#include "shows/Shows.h"
#include "tests/shows/Opname.h"

using namespace ShowsTest;

namespace {

// The texts of a frame cut into runs: one wave text is a run of characters
// 11 pixels apart; a plain text is a run of its own.
std::vector<std::vector<Tekst>> Runs(const Beeld& b) {
    std::vector<std::vector<Tekst>> runs;
    for (const Tekst& t : b.Teksten()) {
        if (runs.empty() || runs.back().back().x + 11 != t.x || runs.back().back().tekst.size() != 1)
            runs.emplace_back();
        runs.back().push_back(t);
    }
    return runs;
}

// Row offsets of a run from `basis`, starting at character `van`.
std::vector<int> Rijen(const std::vector<Tekst>& run, int basis, std::size_t van = 0) {
    std::vector<int> uit;
    for (std::size_t i = van; i + 1 < run.size(); ++i) uit.push_back(run[i].y - basis);
    return uit;
}

std::vector<int> Begin(std::vector<int> v, std::size_t n) {
    v.resize(std::min(n, v.size()));
    return v;
}

void PostToets() {
    IO::InputEvent toets;
    toets.key.asciiChar = 'q';
    IO::PostInput(toets);
}

bool ToetsNogInRij() {
    IO::InputEvent e;
    return IO::PeekInput(e) && e.key.asciiChar == 'q';
}

// Column span of lines `van` to `tot` of a frame.
int Breedte(const Beeld& b, std::size_t van, std::size_t tot) {
    int minX = 1 << 30, maxX = -(1 << 30);
    const std::vector<std::string> lijnen = b.Lijnen();
    for (std::size_t n = van; n < tot; ++n) {
        std::istringstream in(lijnen[n].substr(5));
        int x1, y1, x2, y2;
        in >> x1 >> y1 >> x2 >> y2;
        minX = std::min({minX, x1, x2});
        maxX = std::max({maxX, x1, x2});
    }
    return maxX - minX;
}

}  // namespace

TEST(Credits, LinesScrollInStopAndKeepTheirWaves) {
    Omgeving();
    PostToets();
    const std::vector<Beeld> opname = Neem(KYR12::Credits);
    ASSERT_EQ(opname.size(), 1302u);
    EXPECT_EQ(MetWacht(opname, 25).size(), 1302u);
    EXPECT_TRUE(ToetsNogInRij());

    for (std::size_t i : {0u, 359u, 700u}) {
        const auto runs = Runs(opname[i]);
        ASSERT_EQ(runs.size(), 4u) << "scroll-in frame " << i;
        EXPECT_EQ(runs[0][0].x, 380);
        for (int r = 1; r <= 3; ++r) EXPECT_EQ(runs[r][0].x, 950 - static_cast<int>(i));
    }
    // The lines stand still across the change of phase; the header moves 20 px.
    const auto laatste = Runs(opname[700]);
    const auto eerste = Runs(opname[701]);
    ASSERT_EQ(eerste.size(), 6u);
    EXPECT_EQ(eerste[0][0].x, 400);
    for (int r = 1; r <= 3; ++r) EXPECT_EQ(eerste[r][0].x, laatste[r][0].x);
    EXPECT_EQ(eerste[4][0].tekst, " Special Thanks Go To:... ");
    EXPECT_EQ(eerste[4][0].x, 432);

    // Line 2 runs one character ahead of line 1. At i = 360 of either phase
    // lines 1 and 3 jump back to their first wave; line 2 travels on.
    for (std::size_t start : {0u, 701u}) {
        const auto b0 = Runs(opname[start]);
        const auto b358 = Runs(opname[start + 358]);
        const auto b359 = Runs(opname[start + 359]);
        const auto b360 = Runs(opname[start + 360]);
        EXPECT_EQ(Begin(Rijen(b0[2], 250), 10), Begin(Rijen(b0[1], 200, 1), 10));
        EXPECT_EQ(Rijen(b360[1], 200), Rijen(b0[1], 200));
        EXPECT_EQ(Rijen(b360[3], 300), Rijen(b0[3], 300));
        EXPECT_NE(Begin(Rijen(b360[1], 200), 10), Begin(Rijen(b359[1], 200, 1), 10));
        EXPECT_EQ(Begin(Rijen(b359[2], 250), 10), Begin(Rijen(b358[2], 250, 1), 10));
        EXPECT_EQ(Begin(Rijen(b360[2], 250), 10), Begin(Rijen(b359[2], 250, 1), 10));
    }
    // The thanks line travels at half speed: frames 2m and 2m + 1 agree.
    EXPECT_EQ(Rijen(Runs(opname[701 + 40])[5], 450), Rijen(Runs(opname[701 + 41])[5], 450));
    EXPECT_NE(Rijen(Runs(opname[701 + 41])[5], 450), Rijen(Runs(opname[701 + 42])[5], 450));
}

TEST(Outro, RowsAndATurningBlackCrossWithoutClearing) {
    Omgeving();
    PostToets();
    const std::vector<Beeld> opname = Neem(KYR12::Outro);
    ASSERT_EQ(opname.size(), 201u);
    EXPECT_EQ(MetWacht(opname, 25).size(), 201u);
    EXPECT_TRUE(ToetsNogInRij());
    for (const Beeld& b : opname) {
        EXPECT_FALSE(b.Bevat(wisScherm));
        const std::vector<Tekst> rijen = b.Teksten();
        ASSERT_EQ(rijen.size(), 36u);
        EXPECT_EQ(rijen[35].y, 625);
        EXPECT_EQ(rijen[35].kleur, LIGHTMAGENTA);
        EXPECT_EQ(rijen[0].tekst.size(), 106u);
        const std::vector<std::string> lijnen = b.Lijnen();
        ASSERT_EQ(lijnen.size(), 24u);
        for (const std::string& l : lijnen) EXPECT_EQ(l.back(), '0') << l;
    }
    // The arm starts along the line of sight and lies across the screen
    // after 36 frames of 2.5 degrees.
    EXPECT_LT(Breedte(opname[0], 12, 24), 110);
    EXPECT_GT(Breedte(opname[36], 12, 24), 200);
}
