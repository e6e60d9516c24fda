// Rectangles (outline and filled), brushes, inversion and clearing.
#include <gtest/gtest.h>

#include "tests/raster/RasterTestCanvas.h"

using Raster::FillRect;
using Raster::FrameRect;

TEST(RasterRect, OutlineAndFillOfSortedCorners) {
    // Outline through columns x1 and x2 - 1, rows y1 and y2 - 1; without a pen
    // the fill loses one more column and row. Corners may come either way round.
    Canvas frame(7, 6), fill(7, 6), box(4, 4);
    FrameRect(frame.surface, 6, 5, 1, 1, SolidPen(1));
    FillRect(fill.surface, 1, 5, 6, 1, SolidBrush(1));
    FillRect(box.surface, 1, 1, 3, 3, SolidBrush(7));  // a 2 x 2 box paints one pixel
    EXPECT_EQ(frame.Grid(), Rows({".......", ".#####.", ".#...#.", ".#...#.", ".#####.", "......."}));
    EXPECT_EQ(fill.Grid(), Rows({".......", ".####..", ".####..", ".####..", ".......", "......."}));
    EXPECT_EQ(box.Grid(), Rows({"....", ".f..", "....", "...."}));
}

TEST(RasterRect, DegenerateBoxes) {
    Canvas c(8, 5);
    FrameRect(c.surface, 0, 0, 0, 4, SolidPen(1));  // no width: nothing
    FrameRect(c.surface, 2, 0, 3, 4, SolidPen(1));  // 1 x 4: a full column
    FrameRect(c.surface, 4, 0, 6, 2, SolidPen(1));  // 2 x 2: four pixels
    FillRect(c.surface, 4, 3, 5, 5, SolidBrush(1)); // 1 wide fill: nothing
    FillRect(c.surface, 6, 3, 8, 4, SolidBrush(1)); // 1 tall fill: nothing
    EXPECT_EQ(c.Grid(), Rows({"..#.##..", "..#.##..", "..#.....", "..#.....", "........"}));
}

// A 1 x 1 outline is its one pixel, as the border runs through column x1 and
// row y1; rectangle and ellipse alike, whatever the corner order or pen style
// (every pattern starts on ink). Thin boxes keep their full column or row, and
// without a pen a 1 x 1 box still loses its only column and row.
TEST(RasterRect, OnePixelWideOrTallBoxes) {
    using Raster::FillEllipse;
    using Raster::FrameEllipse;
    Canvas c(9, 5);
    FrameRect(c.surface, 1, 1, 0, 0, SolidPen(1));     // 1 x 1, corners reversed
    FrameEllipse(c.surface, 2, 0, 3, 1, SolidPen(2));  // 1 x 1 ellipse
    for (uint8_t style = 1; style <= 4; ++style) {
        Raster::Pen pen = SolidPen(3);
        pen.style = style;
        pen.background = 9;
        FrameRect(c.surface, 3 + style, 0, 4 + style, 1, pen);
    }
    Raster::Pen invisible = SolidPen(1);
    invisible.style = 5;
    FrameRect(c.surface, 8, 0, 9, 1, invisible);
    FrameRect(c.surface, 0, 2, 1, 5, SolidPen(1));     // 1 x 3: a column
    FrameEllipse(c.surface, 1, 2, 2, 5, SolidPen(4));  // 1 x 3 ellipse: a column
    FrameRect(c.surface, 2, 2, 6, 3, SolidPen(1));     // 4 x 1: a row
    FrameEllipse(c.surface, 2, 3, 6, 4, SolidPen(4));  // 4 x 1 ellipse: a row
    FillRect(c.surface, 7, 2, 8, 3, SolidBrush(1));    // filled 1 x 1: nothing
    FillEllipse(c.surface, 7, 3, 8, 4, SolidBrush(1));
    EXPECT_EQ(c.Grid(), Rows({"#.a.bbbb.", ".........", "#c####...", "#ccccc...", "#c......."}));

    // Clipped: the pixel on the surface's last column and row, none beyond it.
    Canvas edge(3, 2);
    FrameRect(edge.surface, 2, 1, 3, 2, SolidPen(1));
    FrameRect(edge.surface, 3, 0, 4, 1, SolidPen(1));
    FrameEllipse(edge.surface, -1, 0, 0, 1, SolidPen(1));
    EXPECT_EQ(edge.Grid(), Rows({"...", "..#"}));
}

TEST(RasterRect, WholeWindowFillPaintsAllButTheLastColumnAndRow) {
    Canvas c(1025, 730);
    FillRect(c.surface, 0, 0, 1025, 730, SolidBrush(3));
    EXPECT_EQ(c.At(0, 0), 3);
    EXPECT_EQ(c.At(1023, 728), 3);
    EXPECT_EQ(c.At(1024, 0), 0);
    EXPECT_EQ(c.At(0, 729), 0);
    EXPECT_EQ(c.At(1024, 729), 0);
}

TEST(RasterRect, HugeBoxesClipToTheSurface) {
    Canvas fill(6, 4), frame(6, 4), frameFar(6, 4);
    FillRect(fill.surface, -2000000000LL, -2000000000LL, 2000000000LL, 2000000000LL, SolidBrush(1));
    FillRect(fill.surface, 0, 0, 4294967295LL, 4294967295LL, SolidBrush(1));
    EXPECT_EQ(fill.Grid(), Canvas(6, 4, 1).Grid());
    FrameRect(frame.surface, 2, 1, 4294967295LL, 4294967295LL, SolidPen(1));
    EXPECT_EQ(frame.Grid(), Rows({"......", "..####", "..#...", "..#..."}));
    FrameRect(frameFar.surface, -2147483648LL, -2147483648LL, 4294967295LL, 4294967295LL, SolidPen(1));
    EXPECT_EQ(frameFar.Grid(), Canvas(6, 4).Grid());
}

TEST(RasterRect, ClippedShapesEqualTheOnSurfacePartOfTheWholeShape) {
    ExpectClippedEqualsWhole(777, 1000, [](Raster::Surface s, int x1, int y1, int x2, int y2, int i) {
        Raster::Pen pen = SolidPen(1);
        pen.style = static_cast<uint8_t>(i % 5);
        if (i % 2) FrameRect(s, x1, y1, x2, y2, pen);
        else FillRect(s, x1, y1, x2, y2, SolidBrush(1));
    });
}

TEST(RasterRect, DashedOutlineCarriesThePatternRoundTheCorners) {
    // The path starts at the top-right pixel, runs left, down, right and up;
    // dots of 3 on, 3 off continue from side to side.
    Canvas c(6, 5);
    Raster::Pen pen = SolidPen(1);
    pen.style = 2;
    pen.background = 2;
    FrameRect(c.surface, 0, 0, 6, 5, pen);
    EXPECT_EQ(c.Grid(), Rows({"aaa###", "#....a", "#....a", "#....a", "aaa###"}));
}

TEST(RasterBrush, HatchesAreAnchoredToTheSurfaceAndGapsFollowTheBackgroundMode) {
    Canvas c(10, 9);
    Raster::Brush b = SolidBrush(1);
    b.kind = Raster::Brush::Kind::Hatch;
    b.hatch = 4;  // cross
    b.background = 2;
    b.opaqueBackground = true;
    FillRect(c.surface, 2, 1, 12, 11, b);
    EXPECT_EQ(c.Grid(), Rows({"..........", "..aa#aaaaa", "..aa#aaaaa", "..########", "..aa#aaaaa", "..aa#aaaaa",
                              "..aa#aaaaa", "..aa#aaaaa", "..aa#aaaaa"}));

    // Transparent: the gaps keep what was there.
    Canvas kept(8, 2, 5);
    b.hatch = 1;  // vertical
    b.opaqueBackground = false;
    FillRect(kept.surface, 0, 0, 10, 10, b);
    EXPECT_EQ(kept.Grid(), Rows({"dddd#ddd", "dddd#ddd"}));
}

TEST(RasterBrush, CustomPatternPaintsSetBitsInTheColourAndClearBitsInTheBackground) {
    Canvas c(8, 3, 5);
    Raster::Brush b = SolidBrush(1);
    b.kind = Raster::Brush::Kind::Pattern;
    const uint8_t mask[8] = {0xF0, 0x81, 0x00, 0, 0, 0, 0, 0};
    std::copy(mask, mask + 8, b.pattern);
    b.background = 2;
    b.opaqueBackground = false;  // a custom pattern paints both colours regardless
    FillRect(c.surface, 0, 0, 10, 10, b);
    EXPECT_EQ(c.Grid(), Rows({"####aaaa", "#aaaaaa#", "aaaaaaaa"}));
}

TEST(RasterInvert, FlipsAllIndexBitsOfTheHalfOpenBoxAndClips) {
    Canvas c(5, 3, 0x0F);
    Raster::InvertRect(c.surface, 3, 2, 1, 0);
    Raster::InvertRect(c.surface, 4, -100, 4000000000LL, 1);
    EXPECT_EQ(c.At(0, 0), 0x0F);
    EXPECT_EQ(c.At(1, 0), 0xF0);
    EXPECT_EQ(c.At(2, 1), 0xF0);
    EXPECT_EQ(c.At(3, 1), 0x0F);
    EXPECT_EQ(c.At(1, 2), 0x0F);
    EXPECT_EQ(c.At(4, 0), 0xF0);
    EXPECT_EQ(c.At(4, 1), 0x0F);
}

TEST(RasterClear, FillsTheWholeSurfaceButNothingBeyondItsRows) {
    Canvas c(6, 4, 9);
    Raster::Surface view = c.View(1, 1, 3, 2);  // rows with a pitch wider than the width
    Raster::Clear(view, 0);
    EXPECT_EQ(c.Grid(), Rows({"hhhhhh", "h...hh", "h...hh", "hhhhhh"}));
}

