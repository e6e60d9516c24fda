// Helpers shared by the rasteriser's source files: exact wide-integer
// division, the pixel spans that every filled shape is made of, and the
// on/off patterns of styled pens.
#pragma once
#include <cstdint>
#include "platform/graph/raster/Raster.h"

namespace Raster::Internal {

using Wide = __int128;
using UWide = unsigned __int128;

// Coordinates beyond this magnitude lie outside every surface by far; the
// line and ellipse arithmetic is exact for everything up to it (all 32-bit
// requests, signed or unsigned, and their differences).
inline constexpr int64_t kCoordLimit = int64_t{1} << 40;

inline bool WithinLimit(int64_t v) { return v >= -kCoordLimit && v <= kCoordLimit; }

// Floor and ceiling of n / d for d > 0, exact for any sign of n; T is
// int64_t where the operands are known to be small, else Wide.
template <typename T>
T FloorDiv(T n, T d) {
    T q = n / d;
    return (n % d != 0 && n < 0) ? q - 1 : q;
}
template <typename T>
T CeilDiv(T n, T d) {
    T q = n / d;
    return (n % d != 0 && n > 0) ? q + 1 : q;
}

// Largest r with r * r <= n.
uint64_t ISqrt(UWide n);

// Sorts a box's corners: afterwards x1 <= x2 and y1 <= y2.
void SortCorners(int64_t& x1, int64_t& y1, int64_t& x2, int64_t& y2);

// Paints columns xFirst..xLast (inclusive) of row y with the brush, clipped
// to the surface. Brush patterns are anchored to the surface, not the shape.
void FillSpan(Surface& s, int64_t y, int64_t xFirst, int64_t xLast, const Brush& brush);

// A styled pen's pattern: which pixels along the path are ink (true) and
// which are gaps. Position 0 is the first pixel of a path.
struct PenPattern {
    bool solid = true;      // every pixel ink: no pattern to look up
    bool invisible = false; // nothing is drawn
    int period = 1;
    bool ink[24] = {};
    bool InkAt(uint64_t position) const { return solid || ink[position % static_cast<uint64_t>(period)]; }
};
PenPattern PatternOf(const Pen& pen);

// Draws the pixels of the line (x1, y1)-(x2, y2) (start painted, end not)
// with the pattern starting at `phase`; returns the number of pixels the
// unclipped line has, so that a path can carry its pattern on.
uint64_t DrawPatternedLine(Surface& s, int64_t x1, int64_t y1, int64_t x2, int64_t y2,
                           const Pen& pen, const PenPattern& pattern, uint64_t phase);

}  // namespace Raster::Internal
