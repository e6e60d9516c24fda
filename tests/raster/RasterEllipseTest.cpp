// Ellipses and discs: worked outlines, the filled ellipse's right/bottom rule,
// small and degenerate boxes, shape properties over many sizes, and clipping.
#include <gtest/gtest.h>

#include "platform/graph/raster/detail/RasterInternal.h"
#include "tests/raster/RasterTestCanvas.h"

using Raster::FillEllipse;
using Raster::FrameEllipse;

namespace {

// Disc(x, y, r) as the window service draws it: a filled ellipse in the box
// from (x - r, y - r) to (x + r, y + r).
void Disc(Raster::Surface& s, int64_t x, int64_t y, int64_t r, uint8_t colour) {
    FillEllipse(s, x - r, y - r, x + r, y + r, SolidBrush(colour));
}

// True when the painted pixels form one 8-connected piece.
bool OnePiece(const Canvas& c) {
    const int w = c.surface.width, h = c.surface.height;
    std::vector<char> seen(static_cast<size_t>(w * h), 0);
    std::vector<std::pair<int, int>> todo;
    int painted = 0, reached = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (c.At(x, y)) {
                ++painted;
                if (todo.empty() && reached == 0) todo.push_back({x, y}), seen[y * w + x] = 1;
            }
    while (!todo.empty()) {
        auto [x, y] = todo.back();
        todo.pop_back();
        ++reached;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int nx = x + dx, ny = y + dy;
                if (nx < 0 || ny < 0 || nx >= w || ny >= h || seen[ny * w + nx] || !c.At(nx, ny)) continue;
                seen[ny * w + nx] = 1;
                todo.push_back({nx, ny});
            }
    }
    return painted == reached;
}

}  // namespace

TEST(RasterEllipse, OutlinesOfSmallBoxes) {
    Canvas a(8, 6), b(7, 5), c(5, 5);
    FrameEllipse(a.surface, 0, 0, 8, 6, SolidPen(1));
    FrameEllipse(b.surface, 0, 0, 7, 5, SolidPen(1));
    FrameEllipse(c.surface, 0, 0, 5, 5, SolidPen(1));
    EXPECT_EQ(a.Grid(), Rows({"..####..", ".#....#.", "#......#", "#......#", ".#....#.", "..####.."}));
    EXPECT_EQ(b.Grid(), Rows({"..###..", "##...##", "#.....#", "##...##", "..###.."}));
    EXPECT_EQ(c.Grid(), Rows({".###.", "#...#", "#...#", "#...#", ".###."}));
}

TEST(RasterEllipse, WideOutlineAndTheFilledEllipseOfTheBoxOneLarger) {
    const std::string outline = Rows({
        "....########....",
        "..##........##..",
        ".#............#.",
        "#..............#",
        "#..............#",
        "#..............#",
        ".#............#.",
        "..##........##..",
        "....########....",
    });
    Canvas frame(16, 9);
    FrameEllipse(frame.surface, 0, 0, 16, 9, SolidPen(1));
    EXPECT_EQ(frame.Grid(), outline);

    // Without a pen the fill loses a column and a row: the box one larger
    // covers exactly the outline and everything inside it.
    Canvas fill(17, 10);
    FillEllipse(fill.surface, 0, 0, 17, 10, SolidBrush(1));
    EXPECT_EQ(fill.Grid(), Rows({
                               "....########.....",
                               "..############...",
                               ".##############..",
                               "################.",
                               "################.",
                               "################.",
                               ".##############..",
                               "..############...",
                               "....########.....",
                               ".................",
                           }));
}

TEST(RasterEllipse, TinyAndDegenerateBoxes) {
    Canvas c(12, 6);
    FrameEllipse(c.surface, 0, 0, 0, 5, SolidPen(1));    // no width: nothing
    FrameEllipse(c.surface, 1, 0, 3, 2, SolidPen(1));    // 2 x 2: drawn as a rectangle
    FrameEllipse(c.surface, 4, 0, 5, 4, SolidPen(1));    // 1 x 4: a column
    FillEllipse(c.surface, 6, 0, 8, 2, SolidBrush(1));   // 2 x 2 fill: one pixel
    FillEllipse(c.surface, 9, 0, 12, 3, SolidBrush(1));  // 3 x 3 fill: 2 x 2 pixels
    FillEllipse(c.surface, 6, 4, 7, 6, SolidBrush(1));   // 1 wide: nothing
    EXPECT_EQ(c.Grid(), Rows({".##.#.#..##.", ".##.#....##.", "....#.......", "....#.......", "............",
                              "............"}));
    Canvas d(4, 4);
    Disc(d.surface, 2, 2, 1, 1);  // radius 1: the single pixel up and left of the centre
    Disc(d.surface, 2, 2, 0, 1);  // radius 0: nothing
    EXPECT_EQ(d.Grid(), Rows({"....", ".#..", "....", "...."}));
}

TEST(RasterEllipse, ShapePropertiesOverManySizes) {
    for (int w = 3; w <= 40; ++w)
        for (int h = 3; h <= 40; ++h) {
            Canvas frame(w, h), fill(w + 1, h + 1);
            FrameEllipse(frame.surface, 0, 0, w, h, SolidPen(1));
            FillEllipse(fill.surface, 0, 0, w + 1, h + 1, SolidBrush(1));
            for (int y = 0; y < h; ++y) {
                int first = w, last = -1;
                for (int x = 0; x < w; ++x) {
                    const bool on = frame.At(x, y) != 0;
                    // Symmetric about both centre lines of the box.
                    ASSERT_EQ(on, frame.At(w - 1 - x, y) != 0) << w << "x" << h;
                    ASSERT_EQ(on, frame.At(x, h - 1 - y) != 0) << w << "x" << h;
                    if (on) {
                        first = std::min(first, x);
                        last = std::max(last, x);
                    }
                }
                // Every row is touched, the outermost pixels reach the box.
                ASSERT_LE(first, last) << w << "x" << h << " row " << y;
                // The fill of the box one larger is the outline's span, row by row.
                for (int x = 0; x <= w; ++x)
                    ASSERT_EQ(fill.At(x, y) != 0, x >= first && x <= last) << w << "x" << h << " row " << y;
            }
            for (int x = 0; x <= w; ++x) ASSERT_EQ(fill.At(x, h), 0);
            ASSERT_TRUE(OnePiece(frame)) << w << "x" << h;
            ASSERT_NE(frame.At(0, h / 2), 0);
            ASSERT_NE(frame.At(w / 2, 0), 0);
        }
}

TEST(RasterEllipse, DiscPartlyOffTheSurfacePaintsItsOnSurfacePart) {
    Canvas big(400, 400), small(400, 400);
    Disc(big.surface, 50 + 150, 40 + 150, 100, 1);
    Raster::Surface view = small.View(150, 150, 120, 90);
    Disc(view, 50, 40, 100, 1);
    EXPECT_EQ(small.Crop(150, 150, 120, 90), big.Crop(150, 150, 120, 90));
    EXPECT_EQ(small.At(0, 0), 0);
    EXPECT_EQ(small.At(149, 200), 0);
}

TEST(RasterEllipse, ClippedEllipsesEqualTheOnSurfacePartOfTheWholeShape) {
    ExpectClippedEqualsWhole(4242, 1500, [](Raster::Surface s, int x1, int y1, int x2, int y2, int i) {
        if (i % 2) {
            Raster::Pen pen = SolidPen(1);
            pen.style = static_cast<uint8_t>(i % 5);
            pen.background = 2;
            FrameEllipse(s, x1, y1, x2, y2, pen);
        } else {
            FillEllipse(s, x1, y1, x2, y2, SolidBrush(1));
        }
    });
}

TEST(RasterEllipse, HugeEllipsesClipWithoutWalkingOffSurfaceRows) {
    // The flat middle of a four-billion-pixel-wide ellipse: its top and
    // bottom rows cross the surface, nothing else does.
    Canvas flat(31, 23);
    FrameEllipse(flat.surface, -2000000000LL, 0, 2000000000LL, 20, SolidPen(1));
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 31; ++x) ASSERT_EQ(flat.At(x, y), (y == 0 || y == 19) ? 1 : 0) << x << "," << y;

    // A disc of radius 2^31 - 1 centred on the surface covers it all; its
    // outline passes far outside it.
    Canvas disc(31, 23), ring(31, 23);
    Disc(disc.surface, 15, 11, 2147483647LL, 1);
    EXPECT_EQ(disc.Grid(), Canvas(31, 23, 1).Grid());
    FrameEllipse(ring.surface, -2147483648LL, -2147483648LL, 2147483647LL, 2147483647LL, SolidPen(1));
    EXPECT_EQ(ring.Grid(), Canvas(31, 23).Grid());

    // Styled outlines of such ellipses finish at once too (the flat one's
    // top and bottom runs are billions of pixels long and must not be
    // walked), and draw only pixels of the solid outline.
    Raster::Pen pen = SolidPen(1);
    pen.style = 2;
    pen.opaqueBackground = false;
    for (const int64_t bottom : {int64_t{20}, int64_t{4000000000LL}}) {
        Canvas dashed(31, 23), solid(31, 23);
        FrameEllipse(dashed.surface, -2147483648LL, 0, 2147483647LL, bottom, pen);
        FrameEllipse(solid.surface, -2147483648LL, 0, 2147483647LL, bottom, SolidPen(1));
        int dashedPixels = 0, solidPixels = 0;
        for (int y = 0; y < 23; ++y)
            for (int x = 0; x < 31; ++x) {
                dashedPixels += dashed.At(x, y);
                solidPixels += solid.At(x, y);
                if (dashed.At(x, y)) {
                    ASSERT_EQ(solid.At(x, y), 1);
                }
            }
        EXPECT_GT(dashedPixels, 0);
        EXPECT_LT(dashedPixels, solidPixels);
    }
}

TEST(RasterEllipse, IntegerSquareRootIsExactUpToTheWidestProducts) {
    using Raster::Internal::ISqrt;
    using Raster::Internal::UWide;
    const UWide top = ~UWide{0};
    EXPECT_EQ(ISqrt(top), UINT64_MAX);
    EXPECT_EQ(ISqrt(UWide{UINT64_MAX} * UINT64_MAX), UINT64_MAX);
    EXPECT_EQ(ISqrt(UWide{UINT64_MAX} * UINT64_MAX - 1), UINT64_MAX - 1);
    for (uint64_t k : {uint64_t{2}, uint64_t{3037000499}, uint64_t{4294967295}, uint64_t{1} << 40, uint64_t{1} << 63}) {
        EXPECT_EQ(ISqrt(UWide{k} * k), k);
        EXPECT_EQ(ISqrt(UWide{k} * k - 1), k - 1);
        EXPECT_EQ(ISqrt(UWide{k} * k + 2 * UWide{k}), k);  // (k + 1)^2 - 1
    }
    EXPECT_EQ(ISqrt(0), 0u);
}
