// Text in the embedded bitmap font: cell placement, opaque and transparent
// boxes, characters without a glyph, clipping, and the menu layout that the
// font's widths must allow.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/raster/RasterTestCanvas.h"

using Raster::DrawText;
using Raster::TextWidth;

namespace {

int64_t Width(const std::string& text) { return TextWidth(text.data(), text.size()); }

void Draw(Canvas& c, int64_t x, int64_t y, const std::string& text, bool opaque) {
    DrawText(c.surface, x, y, text.data(), text.size(), 1, 0, opaque);
}

}  // namespace

TEST(RasterText, MenuValuesFallInTheFirstBlankRunOfEntriesSixAndSeven) {
    // Entries start at x = 100 and their values are drawn at x = 350, over
    // the blanks, so that redrawing an entry erases the previous value.
    const int64_t valueEnd = 350 + Width("25");
    const std::string six = "**6**     Level";
    const std::string seven = "**7**     Speed of the Flying Objects";
    EXPECT_LT(100 + Width(six), 350);
    EXPECT_LT(100 + Width(seven), 350);
    EXPECT_GE(100 + Width(six + std::string(63, ' ')), valueEnd);
    EXPECT_GE(100 + Width(seven + std::string(27, ' ')), valueEnd);
}

TEST(RasterText, OpaqueTextFillsItsCellRunTransparentTextOnlyInks) {
    Canvas opaque(40, 20, 9), clear(40, 20, 9);
    Draw(opaque, 2, 1, "Hg", true);
    Draw(clear, 2, 1, "Hg", false);
    const int64_t end = 2 + Width("Hg");
    int ink = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x) {
            const bool inBox = x >= 2 && x < end && y >= 1 && y < 1 + Raster::Font().height;
            ASSERT_EQ(opaque.At(x, y) == 9, !inBox) << x << "," << y;
            ASSERT_EQ(clear.At(x, y) == 1, opaque.At(x, y) == 1) << x << "," << y;
            ASSERT_EQ(clear.At(x, y) == 9, clear.At(x, y) != 1) << x << "," << y;
            ink += clear.At(x, y) == 1;
        }
    EXPECT_GT(ink, 20);
    EXPECT_LE(Raster::Font().height, 17);  // story lines 17 apart never overlap
}

TEST(RasterText, InkSitsOnTheBaselineThirteenRowsBelowTheTop) {
    Canvas capital(12, 16), descender(12, 16);
    Draw(capital, 0, 0, "H", false);
    Draw(descender, 0, 0, "g", false);
    auto rowsWithInk = [](const Canvas& c) {
        std::string rows;
        for (int y = 0; y < 16; ++y) {
            bool any = false;
            for (int x = 0; x < 12; ++x) any = any || c.At(x, y);
            rows += any ? '#' : '.';
        }
        return rows;
    };
    EXPECT_EQ(rowsWithInk(capital), "..###########...");   // cap height 11, resting on row 12
    EXPECT_EQ(rowsWithInk(descender).substr(12), "####");  // descends to the last row
}

TEST(RasterText, CodesWithoutAGlyphShowTheDefaultBox) {
    Canvas control(12, 16), del(12, 16), high(12, 16);
    Draw(control, 0, 0, "\x01", false);
    Draw(del, 0, 0, "\x7f", false);
    Draw(high, 0, 0, "\x85", false);
    EXPECT_EQ(control.Grid(), del.Grid());
    EXPECT_EQ(control.Grid(), high.Grid());
    EXPECT_NE(control.Grid(), Canvas(12, 16).Grid());
    EXPECT_EQ(Raster::CharAdvance(1), Raster::CharAdvance(127));
}

TEST(RasterText, InkOverhangingItsCellIsNotCutByTheNextCellsBox) {
    // 'f' reaches one column past its advance; in "ff" the second cell's
    // background must not erase it.
    Canvas one(20, 16, 9), two(20, 16, 9);
    Draw(one, 0, 0, "f", false);
    Draw(two, 0, 0, "ff", true);
    const int advance = Raster::CharAdvance('f');
    bool overhang = false;
    for (int y = 0; y < 16; ++y)
        if (one.At(advance, y) == 1) {
            overhang = true;
            EXPECT_EQ(two.At(advance, y), 1) << "row " << y;
        }
    EXPECT_TRUE(overhang);
}

TEST(RasterText, TextClipsAtEveryEdgeLikeTheSameTextOnALargerSurface) {
    const std::string text = "WAVE @ 25%";
    const int offsets[][2] = {{-7, -5}, {-30, 3}, {20, -12}, {25, 8}, {-2, 10}, {60, 0}};
    for (const auto& o : offsets) {
        for (bool opaque : {true, false}) {
            Canvas big(200, 100, 4), small(200, 100, 4);
            Draw(big, 50 + o[0], 40 + o[1], text, opaque);
            Raster::Surface view = small.View(50, 40, 45, 12);
            DrawText(view, o[0], o[1], text.data(), text.size(), 1, 0, opaque);
            ASSERT_EQ(small.Crop(50, 40, 45, 12), big.Crop(50, 40, 45, 12)) << o[0] << "," << o[1];
            ASSERT_EQ(small.Crop(0, 0, 200, 40), Canvas(200, 40, 4).Grid());
        }
    }
    Canvas far(20, 20);
    DrawText(far.surface, 4000000000LL, 0, text.data(), text.size(), 1, 0, true);
    DrawText(far.surface, -4000000000LL, 0, text.data(), text.size(), 1, 0, true);
    DrawText(far.surface, 0, 2147483647LL, text.data(), text.size(), 1, 0, true);
    EXPECT_EQ(far.Grid(), Canvas(20, 20).Grid());
}
