// The wave text: columns 11 pixels apart, rows on the sine wave, the zero element.
#include <gtest/gtest.h>

#include "platform/graph/Graph.h"
#include "platform/graph/GraphProbe.h"
#include "shows/Shows.h"
#include "tests/shows/ShowRecording.h"

using namespace showtest;

namespace {

std::vector<TraceText> Write(void (*call)()) {
    PrepareShow();
    return Record(call)[0].Texts();
}

}  // namespace

TEST(SinText, ColumnsRowsAndThePhaseShift) {
    const std::vector<TraceText> vlak = Write([] { KYR12::SinText(100, 50, LIGHTGREEN, "ABC", 0, 17); });
    ASSERT_EQ(vlak.size(), 4u);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(vlak[i].x + 1000 * vlak[i].y, 100 + 11 * i + 1000 * 50);
    EXPECT_EQ(vlak[2].text, "C");
    EXPECT_EQ(vlak[3].text, "");

    // sin(n * 180 / pi), n = 0 to 9: 0, .68, .997, .78, .15, -.56, -.97, -.87,
    // -.30, .43; rows are cut towards zero on both sides of the base line.
    const std::vector<TraceText> golf = Write([] { KYR12::SinText(100, 50, WHITE, "ABCDEFGHI", 10, 0); });
    const int expected[10] = {0, 6, 9, 7, 1, -5, -9, -8, -3, 4};
    ASSERT_EQ(golf.size(), 10u);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(golf[i].y - 50, expected[i]) << "character " << i;

    // The argument is not rounded to a REAL: at step 395 the exact offset is
    // -1.998 (not -2.0009) and at 419 it is -9.0015 (not -8.9985).
    const std::vector<TraceText> laat = Write([] { KYR12::SinText(0, 50, WHITE, "abcdefghijklmnopqrstuvwxy", 10, 395); });
    EXPECT_EQ(laat[0].y - 50, -1);
    EXPECT_EQ(laat[24].y - 50, -9);

    // Character i at phase f stands at the height of character i + 1 at f - 1.
    const std::vector<TraceText> f4 = Write([] { KYR12::SinText(0, 400, WHITE, "0123456789abcdefghij", 7, 300); });
    const std::vector<TraceText> f5 = Write([] { KYR12::SinText(0, 400, WHITE, "0123456789abcdefghij", 7, 301); });
    for (std::size_t i = 0; i + 1 < f4.size(); ++i) EXPECT_EQ(f5[i].y, f4[i + 1].y) << "character " << i;
}

TEST(SinText, TheZeroElementPaintsNothing) {
    PrepareShow();
    Graph::Rectangle(150, 250, 300, 350, RED, true);
    KYR12::SinText(200, 300, LIGHTYELLOW, "A", 0, 0);
    bool letter = false;
    for (int x = 200; x < 211; ++x)
        for (int y = 300; y < 316; ++y) letter |= Graph::PixelIndex(x, y) == LIGHTYELLOW;
    EXPECT_TRUE(letter);
    for (int x = 211; x < 240; ++x)
        for (int y = 300; y < 316; ++y) ASSERT_EQ(Graph::PixelIndex(x, y), RED) << x << "," << y;
}
