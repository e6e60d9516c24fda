// Lines: which pixels a one-pixel pen paints, tie-breaks, clipping that only
// removes pixels (also with coordinates far off the surface), and the dash
// patterns of styled pens.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <utility>

#include "tests/raster/RasterTestCanvas.h"

using Raster::DrawLine;

namespace {

using Pixel = std::pair<int64_t, int64_t>;

__int128 CeilDiv(__int128 n, __int128 d) {  // d > 0
    __int128 q = n / d;
    return (n % d != 0 && n > 0) ? q + 1 : q;
}

// The pixels of the unclipped line that fall on a width x height surface,
// straight from the closed form: one pixel per major-axis step, the minor
// coordinate ceil(start + k * dMinor / dMajor - 1/2). Only steps whose major
// coordinate is on the surface are evaluated, so far-off ends cost nothing.
std::set<Pixel> ReferenceLine(int64_t x0, int64_t y0, int64_t x1, int64_t y1, int64_t width, int64_t height) {
    std::set<Pixel> out;
    const int64_t dx = x1 - x0, dy = y1 - y0;
    const bool xMajor = std::llabs(dx) > std::llabs(dy);
    const int64_t u0 = xMajor ? x0 : y0, v0 = xMajor ? y0 : x0;
    const int64_t du = xMajor ? dx : dy, dv = xMajor ? dy : dx;
    const int64_t length = std::llabs(du), sign = du < 0 ? -1 : 1;
    const int64_t extent = xMajor ? width : height;
    for (int64_t u = 0; u < extent; ++u) {
        const int64_t k = (u - u0) * sign;
        if (k < 0 || k >= length) continue;
        const int64_t v = v0 + static_cast<int64_t>(CeilDiv(2 * (__int128)k * dv - length, 2 * (__int128)length));
        out.insert(xMajor ? Pixel{u, v} : Pixel{v, u});
    }
    std::set<Pixel> onSurface;
    for (const Pixel& p : out)
        if (p.first >= 0 && p.first < width && p.second >= 0 && p.second < height) onSurface.insert(p);
    return onSurface;
}

std::set<Pixel> Painted(const Canvas& c) {
    std::set<Pixel> out;
    for (int y = 0; y < c.surface.height; ++y)
        for (int x = 0; x < c.surface.width; ++x)
            if (c.At(x, y) != 0) out.insert({x, y});
    return out;
}

Raster::Pen StyledPen(uint8_t style, bool opaque) {
    Raster::Pen pen = SolidPen(1);
    pen.style = style;
    pen.background = 2;
    pen.opaqueBackground = opaque;
    return pen;
}

}  // namespace

TEST(RasterLine, StartPaintedEndNotAndZeroLengthPaintsNothing) {
    Canvas c(6, 3);
    DrawLine(c.surface, 0, 0, 3, 0, SolidPen(1));
    DrawLine(c.surface, 5, 2, 5, 2, SolidPen(1));
    DrawLine(c.surface, 4, 2, 5, 2, SolidPen(1));  // a one-step line paints its start only
    EXPECT_EQ(c.Grid(), Rows({"###...", "......", "....#."}));
}

TEST(RasterLine, HalfwayTiesGoToTheSmallerMinorCoordinateInBothDirections) {
    Canvas forward(5, 3), backward(5, 3);
    DrawLine(forward.surface, 0, 0, 4, 2, SolidPen(1));
    DrawLine(backward.surface, 4, 2, 0, 0, SolidPen(1));
    EXPECT_EQ(forward.Grid(), Rows({"##...", "..##.", "....."}));
    EXPECT_EQ(backward.Grid(), Rows({".#...", "..##.", "....#"}));

    Canvas steep(3, 5);
    DrawLine(steep.surface, 0, 4, 2, 0, SolidPen(1));  // y-major ties go to the left column
    EXPECT_EQ(steep.Grid(), Rows({"...", ".#.", ".#.", "#..", "#.."}));
}

TEST(RasterLine, EveryShortLineMatchesTheClosedForm) {
    // All lines with both ends in [-7, 7]^2, drawn about the centre of a
    // 15 x 15 surface: every octant, every tie, both directions.
    for (int x0 = -7; x0 <= 7; ++x0)
        for (int y0 = -7; y0 <= 7; ++y0)
            for (int x1 = -7; x1 <= 7; ++x1)
                for (int y1 = -7; y1 <= 7; ++y1) {
                    Canvas c(15, 15);
                    DrawLine(c.surface, x0 + 7, y0 + 7, x1 + 7, y1 + 7, SolidPen(1));
                    ASSERT_EQ(Painted(c), ReferenceLine(x0 + 7, y0 + 7, x1 + 7, y1 + 7, 15, 15))
                        << x0 << "," << y0 << " -> " << x1 << "," << y1;
                }
}

TEST(RasterLine, ClippingOnlyRemovesPixelsOfTheUnclippedLine) {
    // The same line drawn on a large canvas and on a small view inside it
    // (shifted coordinates) must agree on the view's pixels, for solid and
    // styled pens alike.
    std::mt19937 rng(12345);
    std::uniform_int_distribution<int> coord(-60, 100);
    for (int i = 0; i < 3000; ++i) {
        const int x0 = coord(rng), y0 = coord(rng), x1 = coord(rng), y1 = coord(rng);
        const Raster::Pen pen = i % 3 == 0 ? SolidPen(1) : StyledPen(static_cast<uint8_t>(1 + i % 4), i % 2 == 0);
        Canvas big(200, 200), small(200, 200);
        DrawLine(big.surface, x0 + 60, y0 + 60, x1 + 60, y1 + 60, pen);
        Raster::Surface view = small.View(80, 70, 23, 17);
        DrawLine(view, x0 - 20, y0 - 10, x1 - 20, y1 - 10, pen);
        ASSERT_EQ(small.Crop(80, 70, 23, 17), big.Crop(80, 70, 23, 17))
            << x0 << "," << y0 << " -> " << x1 << "," << y1 << " style " << int(pen.style);
        ASSERT_EQ(small.Crop(0, 0, 200, 70), Canvas(200, 70).Grid());  // nothing above the view
    }
}

TEST(RasterLine, FarOffEndsClipExactlyAndAtOnce) {
    const int64_t kMax = 4294967295LL, kMin = -2147483648LL;
    const int64_t ends[][4] = {
        {2000000000, 5, 3, 7},   {3, 7, 2000000000, 5},  {-5, -3000000000LL, 3, 9}, {kMax, kMax, 0, 0},
        {kMin, kMin, 30, 20},    {kMin, 10, kMax, 12},   {kMax, 3, kMin, 17},       {10, kMin, 12, kMax},
        {kMin, kMax, kMax, kMin}, {-1000000, 7, 1000000, 8}, {17, kMax, 18, -7},
    };
    for (const auto& e : ends) {
        Canvas c(31, 23);
        DrawLine(c.surface, e[0], e[1], e[2], e[3], SolidPen(1));
        EXPECT_EQ(Painted(c), ReferenceLine(e[0], e[1], e[2], e[3], 31, 23))
            << e[0] << "," << e[1] << " -> " << e[2] << "," << e[3];
    }
}

TEST(RasterLine, LongLinesCrossingTheSurfaceMatchTheClosedForm) {
    // Lengths from a few hundred to several million pixels, so that every way
    // of walking a visible stretch is exercised near its precision limits.
    std::mt19937_64 rng(99);
    for (int i = 0; i < 400; ++i) {
        const int64_t reach = int64_t{1} << (8 + i % 16);
        std::uniform_int_distribution<int64_t> far(-reach, reach), near(0, 199);
        const int64_t x0 = far(rng), y0 = near(rng), x1 = far(rng), y1 = near(rng);
        const bool swapAxes = i % 2 == 1;
        Canvas c(300, 200);
        if (swapAxes) {
            Canvas t(200, 300);
            DrawLine(t.surface, y0, x0, y1, x1, SolidPen(1));
            ASSERT_EQ(Painted(t), ReferenceLine(y0, x0, y1, x1, 200, 300)) << i;
        } else {
            DrawLine(c.surface, x0, y0, x1, y1, SolidPen(1));
            ASSERT_EQ(Painted(c), ReferenceLine(x0, y0, x1, y1, 300, 200)) << i;
        }
    }
}

TEST(RasterLine, ShallowLinesAcrossAVeryWideSurfaceKeepTheirExactRows) {
    // A line one row high and ~2^17 long reaches a point a hair below its
    // half-way row tens of thousands of pixels after its start: the place
    // where accumulated rounding of a running slope would show.
    for (int64_t length = 131000; length < 131200; length += 2) {
        Canvas c(70000, 2);
        DrawLine(c.surface, 0, 0, length, 1, SolidPen(1));
        for (int x = 0; x < 70000; ++x) {
            const int row = static_cast<int>(CeilDiv(2 * (__int128)x - length, 2 * (__int128)length));
            ASSERT_TRUE(c.At(x, row) == 1 && c.At(x, 1 - row) == 0) << length << " at column " << x;
        }
    }
}

TEST(RasterLine, CoordinatesBeyondAnySurfaceAreIgnoredSafely) {
    Canvas c(8, 8);
    const int64_t huge = int64_t{1} << 62;
    DrawLine(c.surface, -huge, -huge, huge, huge, SolidPen(1));
    DrawLine(c.surface, INT64_MIN, 0, INT64_MAX, 0, SolidPen(1));
    EXPECT_EQ(c.Grid(), Canvas(8, 8).Grid());
}

TEST(RasterLine, DashPatternsWithOpaqueAndTransparentGaps) {
    Canvas c(30, 6);
    DrawLine(c.surface, 0, 0, 30, 0, StyledPen(1, true));   // dash: 18 on, 6 off
    DrawLine(c.surface, 0, 1, 30, 1, StyledPen(2, true));   // dot: 3 on, 3 off
    DrawLine(c.surface, 0, 2, 30, 2, StyledPen(3, false));  // dash-dot
    DrawLine(c.surface, 0, 3, 30, 3, StyledPen(4, false));  // dash-dot-dot
    DrawLine(c.surface, 0, 4, 30, 4, StyledPen(5, true));   // invisible
    DrawLine(c.surface, 29, 5, -1, 5, StyledPen(1, false)); // right to left: dash starts at the right end
    EXPECT_EQ(c.Grid(), Rows({
                            "##################aaaaaa######",
                            "###aaa###aaa###aaa###aaa###aaa",
                            "#########......###......######",
                            "#########...###...###...######",
                            "..............................",
                            "######......##################",
                        }));
}

