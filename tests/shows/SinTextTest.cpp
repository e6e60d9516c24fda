// The wave text: columns 11 pixels apart, rows on the sine wave, the zero element.
#include <gtest/gtest.h>

#include "platform/graph/Graph.h"
#include "platform/graph/GraphInspect.h"
#include "shows/Shows.h"
#include "tests/shows/Opname.h"

using namespace ShowsTest;

namespace {

std::vector<Tekst> Schrijf(void (*aanroep)()) {
    Omgeving();
    return Neem(aanroep)[0].Teksten();
}

}  // namespace

TEST(SinText, WithoutAmplitudeOneStraightRowAndTheZeroLast) {
    const std::vector<Tekst> t = Schrijf([] { KYR12::SinText(100, 50, LIGHTGREEN, "ABC", 0, 17); });
    ASSERT_EQ(t.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(t[i].x, 100 + 11 * i);
        EXPECT_EQ(t[i].y, 50);
        EXPECT_EQ(t[i].kleur, LIGHTGREEN);
    }
    EXPECT_EQ(t[0].tekst, "A");
    EXPECT_EQ(t[2].tekst, "C");
    EXPECT_EQ(t[3].tekst, "");
}

// sin(n * 180 / pi) for n = 0 to 9 is 0, .68, .997, .78, .15, -.56, -.97,
// -.87, -.30, .43: rows are cut towards zero, also above the base line.
TEST(SinText, RowsFollowTheWaveAndShiftWithThePhase) {
    const std::vector<Tekst> t = Schrijf([] { KYR12::SinText(100, 50, WHITE, "ABCDEFGHI", 10, 0); });
    const int verwacht[10] = {0, 6, 9, 7, 1, -5, -9, -8, -3, 4};
    ASSERT_EQ(t.size(), 10u);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(t[i].y - 50, verwacht[i]) << "character " << i;

    const std::vector<Tekst> f4 = Schrijf([] { KYR12::SinText(0, 400, WHITE, "0123456789abcdefghij", 7, 300); });
    const std::vector<Tekst> f5 = Schrijf([] { KYR12::SinText(0, 400, WHITE, "0123456789abcdefghij", 7, 301); });
    for (std::size_t i = 0; i + 1 < f4.size(); ++i) EXPECT_EQ(f5[i].y, f4[i + 1].y) << "character " << i;
}

TEST(SinText, TheZeroElementPaintsNothing) {
    Omgeving();
    Graph::Rectangle(150, 250, 300, 350, RED, true);
    KYR12::SinText(200, 300, LIGHTYELLOW, "A", 0, 0);
    Graph::Sync();
    bool letterGeschreven = false;
    for (int x = 200; x < 211; ++x)
        for (int y = 300; y < 316; ++y) letterGeschreven |= Graph::PixelIndex(x, y) == LIGHTYELLOW;
    EXPECT_TRUE(letterGeschreven);
    for (int x = 211; x < 240; ++x)
        for (int y = 300; y < 316; ++y) ASSERT_EQ(Graph::PixelIndex(x, y), RED) << x << "," << y;
}
