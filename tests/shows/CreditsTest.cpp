// The credits and the outro, checked against the recorded requests.
#include <gtest/gtest.h>

#include <algorithm>

#include "shows/Shows.h"
#include "tests/shows/ShowRecording.h"

using namespace showtest;

namespace {

// The texts of a frame cut into runs: a wave text is a run of characters
// 11 pixels apart ending in its empty zero element; a plain text stands alone.
std::vector<std::vector<TraceText>> Runs(const Frame& b) {
    std::vector<std::vector<TraceText>> runs;
    for (const TraceText& t : b.Texts()) {
        const bool continues = !runs.empty() && runs.back().back().x + 11 == t.x && runs.back().back().text.size() == 1;
        if (!continues) runs.emplace_back();
        runs.back().push_back(t);
    }
    return runs;
}

// Row offsets of ten characters of run r (from character `from` on) from its base line.
std::vector<int> RowOffsets(const Frame& b, std::size_t r, std::size_t from = 0) {
    const int baseLine[6] = {25, 200, 250, 300, 400, 450};
    std::vector<int> offsets;
    const std::vector<TraceText> run = Runs(b)[r];
    for (std::size_t i = from; i < from + 10; ++i) offsets.push_back(run.at(i).y - baseLine[r]);
    return offsets;
}

// Column span of the outro's arm: the second solid's twelve edges.
int64_t ArmWidth(const Frame& b) {
    int64_t minX = 1 << 30, maxX = 0;
    const std::vector<std::string> lines = b.Requests("line");
    for (std::size_t n = 12; n < 24; ++n) {
        const std::vector<int64_t> ends = testsupport::ParseTraceLine(lines.at(n)).value().numbers;
        minX = std::min({minX, ends.at(0), ends.at(2)});
        maxX = std::max({maxX, ends.at(0), ends.at(2)});
    }
    return maxX - minX;
}

}  // namespace

TEST(Credits, LinesScrollInStopAndKeepTheirWaves) {
    PrepareShow();
    PostKeyDown("q");
    const std::vector<Frame> o = Record(KYR12::Credits);
    ASSERT_EQ(o.size(), 1302u);
    EXPECT_EQ(FramesWaiting(o, 25).size(), 1302u);
    EXPECT_EQ(FirstQueuedCharacter(), 'q');

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
        EXPECT_EQ(RowOffsets(o[s], 2), RowOffsets(o[s], 1, 1));
        EXPECT_EQ(RowOffsets(o[s + 360], 1), RowOffsets(o[s], 1));
        EXPECT_EQ(RowOffsets(o[s + 360], 3), RowOffsets(o[s], 3));
        EXPECT_NE(RowOffsets(o[s + 360], 1), RowOffsets(o[s + 359], 1, 1));
        EXPECT_EQ(RowOffsets(o[s + 359], 2), RowOffsets(o[s + 358], 2, 1));
        EXPECT_EQ(RowOffsets(o[s + 360], 2), RowOffsets(o[s + 359], 2, 1));
    }
    // The thanks line travels at half speed: frames 2m and 2m + 1 agree.
    EXPECT_EQ(RowOffsets(o[701 + 40], 5), RowOffsets(o[701 + 41], 5));
    EXPECT_NE(RowOffsets(o[701 + 41], 5), RowOffsets(o[701 + 42], 5));
}

TEST(Outro, RowsAndATurningBlackCrossWithoutClearing) {
    PrepareShow();
    PostKeyDown("q");
    const std::vector<Frame> o = Record(KYR12::Outro);
    ASSERT_EQ(o.size(), 201u);
    EXPECT_EQ(FramesWaiting(o, 25).size(), 201u);
    EXPECT_EQ(FirstQueuedCharacter(), 'q');
    EXPECT_EQ(DifferenceFromGolden("outro", o), "");   // as after a lost game
    for (const Frame& b : o) {
        EXPECT_TRUE(b.Requests("rect").empty());
        const std::vector<TraceText> rows = b.Texts();
        ASSERT_EQ(rows.size(), 36u);
        EXPECT_EQ(rows[35].y + 1000 * rows[35].colour, 625 + 1000 * LIGHTMAGENTA);
        ASSERT_EQ(b.Requests("line").size(), 24u);
        for (const std::string& l : b.Requests("line")) EXPECT_EQ(l.back(), '0') << l;
    }
    // The arm starts along the line of sight and lies across the screen
    // after 36 frames of 2.5 degrees.
    EXPECT_LT(ArmWidth(o[0]), 110);
    EXPECT_GT(ArmWidth(o[36]), 200);
}
