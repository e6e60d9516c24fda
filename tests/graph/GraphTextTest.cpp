// Text output: the opaque box, the transparent mode, and the 257-character cut.
#include <string>
#include "tests/graph/SurfaceProbes.h"
#include "tests/support/GraphFixture.h"
#include "platform/graph/raster/Raster.h"

using namespace graphtest;

using GraphText = testsupport::OffscreenGraphTest;

namespace {

int Advance(char c) { return Raster::CharAdvance(static_cast<unsigned char>(c)); }
int CellHeight() { return Raster::Font().height; }

}  // namespace

TEST_F(GraphText, OpaqueBoxHidesWhatWasUnderAndTransparentTextDoesNot) {
    Graph::Rectangle(0, 0, 200, 100, 4, true);
    Graph::RawOutText(10, 10, 15, "  ");            // two blanks: only the box
    const int box = 2 * Advance(' ') * CellHeight();
    EXPECT_EQ(CountIndex(0, 0, 199, 99, 0), box);
    EXPECT_EQ(Graph::PixelIndex(10, 10), 0);
    EXPECT_EQ(Graph::PixelIndex(10 + 2 * Advance(' ') - 1, 10 + CellHeight() - 1), 0);

    Graph::SetBkMix(false);
    Graph::RawOutText(10, 50, 15, "  ");
    EXPECT_EQ(CountIndex(0, 0, 199, 99, 0), box);
    Graph::RawOutText(10, 50, 15, "W");
    EXPECT_GT(CountIndex(0, 0, 200, 100, 15), 0);
    EXPECT_EQ(CountIndex(0, 0, 199, 99, 0), box);
}

TEST_F(GraphText, TextIsCutAfter257Characters) {
    // Start far enough left that character 257 lands at x = 0: it is drawn,
    // and the place where character 258 would go stays untouched.
    const std::string text(300, 'M');
    const int adv = Advance('M');
    Graph::SetBkColor(2);
    const uint32_t x = static_cast<uint32_t>(-256 * adv);
    Graph::RawOutText(x, 0, 15, text.c_str(), text.size());
    const int h = CellHeight();
    EXPECT_EQ(CountIndex(0, 0, adv, h, 2) + CountIndex(0, 0, adv, h, 15), adv * h);
    EXPECT_EQ(CountIndex(adv, 0, 3 * adv, h, 0), 2 * adv * h);
}

TEST_F(GraphText, TextEndsAtItsFirstZeroOrAtTheArrayEnd) {
    const char unterminated[3] = {'M', 'M', 'M'};
    const char early[8] = "M\0MMMMM";
    const int adv = Advance('M'), h = CellHeight();
    Graph::SetBkColor(2);
    Graph::RawOutText(0, 0, 15, unterminated);
    Graph::RawOutText(0, 100, 15, early);
    Graph::RawOutText(0, 200, 15, nullptr, 10);
    Graph::RawOutText(0, 300, 15, "MMMM", 0);
    EXPECT_EQ(CountIndex(0, 0, 200, h, 2) + CountIndex(0, 0, 200, h, 15), 3 * adv * h);
    EXPECT_EQ(CountIndex(0, 100, 200, 100 + h, 2) + CountIndex(0, 100, 200, 100 + h, 15), adv * h);
    EXPECT_EQ(CountIndex(0, 200, 200, 400, 0), 200 * 200);
}
