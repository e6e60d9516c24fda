// Lines and rectangle outlines with a one-pixel pen.
//
// A line from (x0, y0) to (x1, y1) paints one pixel per step of its major
// axis (x when |dx| > |dy|, else y), from the start pixel up to but not
// including the end pixel. Pixel k of an x-major line sits in column x0 + k*sx
// and row y0 + ceil((2*k*dy - |dx|) / (2*|dx|)): the row nearest the ideal
// line, an exact half-way tie going to the smaller row whatever the direction
// (y-major lines alike with the axes swapped). So a line and its reverse pick
// the same pixels, and clipping only removes pixels: the visible range of k is
// solved in closed form and the error term seeded as if the line had been
// walked from its start.
#include <algorithm>
#include <cstddef>
#include <cstring>
#include "platform/graph/raster/detail/RasterInternal.h"

namespace Raster::Internal {

namespace {

// A line in major/minor axis form: pixel k (0 <= k < length) lies at major
// coordinate u0 + k*uSign and minor coordinate v0 + ceil((2*k*dv - length) /
// (2*length)).
struct AxisLine {
    bool xMajor;
    int64_t u0, v0;
    int64_t uSign;
    int64_t length;  // |du|, the number of pixels
    int64_t dv;
    int64_t uExtent, vExtent;  // surface size along each axis
};

struct Range {
    Wide first, last;
    bool Empty() const { return first > last; }
};

AxisLine ToAxes(const Surface& s, int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
    int64_t dx = x2 - x1, dy = y2 - y1;
    bool xMajor = (dx < 0 ? -dx : dx) > (dy < 0 ? -dy : dy);
    AxisLine a{};
    a.xMajor = xMajor;
    a.u0 = xMajor ? x1 : y1;
    a.v0 = xMajor ? y1 : x1;
    int64_t du = xMajor ? dx : dy;
    a.uSign = du < 0 ? -1 : 1;
    a.length = du < 0 ? -du : du;
    a.dv = xMajor ? dy : dx;
    a.uExtent = xMajor ? s.width : s.height;
    a.vExtent = xMajor ? s.height : s.width;
    return a;
}

// The steps k whose major coordinate lies on the surface.
Range MajorRange(const AxisLine& a) {
    Range r{0, a.length - 1};
    if (a.uSign > 0) {
        r.first = std::max<Wide>(r.first, -Wide{a.u0});
        r.last = std::min<Wide>(r.last, Wide{a.uExtent} - 1 - a.u0);
    } else {
        r.first = std::max<Wide>(r.first, Wide{a.u0} - (a.uExtent - 1));
        r.last = std::min<Wide>(r.last, Wide{a.u0});
    }
    return r;
}

// The steps k whose minor coordinate lies on the surface. With c the minor
// offset from v0: offset(k) >= c  <=>  2*k*dv > (2c - 1) * length, and
// offset(k) <= c  <=>  2*k*dv <= (2c + 1) * length.
template <typename T>
Range MinorRangeIn(const AxisLine& a) {
    const T low = (2 * T{-a.v0} - 1) * a.length;
    const T high = (2 * (T{a.vExtent} - 1 - a.v0) + 1) * a.length;
    const T m = 2 * T{a.dv};
    if (a.dv > 0) return {FloorDiv<T>(low, m) + 1, FloorDiv<T>(high, m)};
    if (a.dv < 0) return {CeilDiv<T>(-high, -m), CeilDiv<T>(-low, -m) - 1};
    bool onSurface = a.v0 >= 0 && a.v0 < a.vExtent;
    return onSurface ? Range{0, a.length - 1} : Range{1, 0};
}

// Lines of everyday size need no 128-bit arithmetic, which is slow to divide:
// with these bounds every product above stays below 2^62.
bool Small(const AxisLine& a) {
    constexpr int64_t kSmall = int64_t{1} << 29;
    return a.length <= 2 * kSmall && a.v0 >= -kSmall && a.v0 <= kSmall && a.vExtent <= kSmall;
}

Range MinorRange(const AxisLine& a) { return Small(a) ? MinorRangeIn<int64_t>(a) : MinorRangeIn<Wide>(a); }

// Minor offset q of step `first` and the remainder of its division, in (-2*length, 0].
struct StartState {
    Wide q, rest;
};
template <typename T>
StartState StartIn(const AxisLine& a, int64_t first) {
    const T d = 2 * T{a.length};
    const T n = 2 * T{first} * a.dv - a.length;
    const T q = CeilDiv<T>(n, d);
    return {q, n - d * q};
}

// The fast path for solid lines: the minor offset of step first + k is
// q + floor(h(k)) with h(k) = (rest + d - 1)/d + k * 2*dv/d, where h(0) is in
// [0, 1). Both terms are rounded up to 32 fraction bits, so the running sum
// never falls below h(k) and stays above it by less than (k + 1) / 2^32; as
// h(k) is a multiple of 1/d, the floor is exact while (count + 1) * d < 2^32.
// Without a branch per pixel this runs several times faster than the
// error-term walk, which remains for longer lines and styled pens.
bool FixedPointWalk(Surface& s, const AxisLine& a, int64_t first, int64_t count, Wide rest, Wide q,
                    uint8_t colour) {
    const int64_t d = 2 * a.length;
    if (a.length >= (int64_t{1} << 30) || (count + 1) * d >= (int64_t{1} << 32)) return false;
    const int64_t start = ((static_cast<int64_t>(rest) + d - 1) << 32) + d - 1;
    int64_t acc = start / d;  // ceil, the numerator being non-negative
    const int64_t slopeNum = (2 * a.dv) * (int64_t{1} << 32);
    const int64_t slope = slopeNum >= 0 ? (slopeNum + d - 1) / d : -((-slopeNum) / d);  // ceil
    const int64_t pitch = s.pitch;
    const int64_t u = a.u0 + a.uSign * first;  // major coordinate of the first pixel
    const int64_t v = a.v0 + static_cast<int64_t>(q);
    uint8_t* const base = s.pixels;
    // Everything the loops read is a local: stores through a byte pointer
    // could otherwise force the compiler to reload the line's fields.
    const int64_t uSign = a.uSign;
    if (a.dv == 0 && a.xMajor) {  // horizontal: one run of the row
        std::memset(base + v * pitch + (uSign > 0 ? u : u - (count - 1)), colour, static_cast<size_t>(count));
    } else if (a.xMajor) {
        uint8_t* const origin = base + v * pitch + u;
        int64_t column = 0;
        for (int64_t k = 0; k < count; ++k, acc += slope, column += uSign) origin[(acc >> 32) * pitch + column] = colour;
    } else {
        uint8_t* const origin = base + u * pitch + v;
        const int64_t step = uSign * pitch;
        int64_t row = 0;
        for (int64_t k = 0; k < count; ++k, acc += slope, row += step) origin[row + (acc >> 32)] = colour;
    }
    return true;
}

// Paints steps first..last of the line. The error term e runs in (-2*length, 0]
// and the minor coordinate moves on when it turns positive.
void Walk(Surface& s, const AxisLine& a, int64_t first, int64_t last, const Pen& pen,
          const PenPattern& pattern, uint64_t phase) {
    const Wide d = 2 * Wide{a.length};
    const StartState start = Small(a) ? StartIn<int64_t>(a, first) : StartIn<Wide>(a, first);
    const Wide q = start.q, rest = start.rest;
    int64_t e = static_cast<int64_t>(a.dv >= 0 ? rest : -rest - d + 1);
    const int64_t inc = 2 * (a.dv < 0 ? -a.dv : a.dv);
    const int64_t dd = static_cast<int64_t>(d);

    const int64_t u = a.u0 + a.uSign * first;
    const int64_t v = a.v0 + static_cast<int64_t>(q);
    const int64_t col = a.xMajor ? u : v, row = a.xMajor ? v : u;
    const ptrdiff_t pitch = s.pitch;
    const ptrdiff_t stepMajor = a.xMajor ? a.uSign : a.uSign * pitch;
    const ptrdiff_t stepMinor = (a.dv < 0 ? -1 : 1) * (a.xMajor ? pitch : 1);
    uint8_t* const base = s.pixels;
    ptrdiff_t at = row * pitch + col;
    int64_t count = last - first + 1;

    if (pattern.solid && FixedPointWalk(s, a, first, count, rest, q, pen.colour)) return;
    if (pattern.solid) {
        const uint8_t c = pen.colour;
        for (; count > 0; --count) {
            base[at] = c;
            at += stepMajor;
            e += inc;
            if (e > 0) {
                e -= dd;
                at += stepMinor;
            }
        }
        return;
    }
    uint64_t position = phase + static_cast<uint64_t>(first);
    for (; count > 0; --count, ++position) {
        if (pattern.InkAt(position))
            base[at] = pen.colour;
        else if (pen.opaqueBackground)
            base[at] = pen.background;
        at += stepMajor;
        e += inc;
        if (e > 0) {
            e -= dd;
            at += stepMinor;
        }
    }
}

}  // namespace

uint64_t DrawPatternedLine(Surface& s, int64_t x1, int64_t y1, int64_t x2, int64_t y2,
                           const Pen& pen, const PenPattern& pattern, uint64_t phase) {
    if (!WithinLimit(x1) || !WithinLimit(y1) || !WithinLimit(x2) || !WithinLimit(y2)) return 0;
    const AxisLine a = ToAxes(s, x1, y1, x2, y2);
    if (a.length == 0 || pattern.invisible || s.pixels == nullptr) return static_cast<uint64_t>(a.length);
    Range major = MajorRange(a);
    Range minor = MinorRange(a);
    Range visible{std::max(major.first, minor.first), std::min(major.last, minor.last)};
    if (!visible.Empty())
        Walk(s, a, static_cast<int64_t>(visible.first), static_cast<int64_t>(visible.last), pen, pattern,
             phase);
    return static_cast<uint64_t>(a.length);
}

PenPattern PatternOf(const Pen& pen) {
    // On/off runs of each style, in pixels along the major axis.
    static constexpr int kRuns[5][7] = {
        {0},                       // solid
        {18, 6, 0},                // dash
        {3, 3, 0},                 // dot
        {9, 6, 3, 6, 0},           // dash-dot
        {9, 3, 3, 3, 3, 3, 0},     // dash-dot-dot
    };
    PenPattern p;
    if (pen.style == 5) {
        p.invisible = true;
        return p;
    }
    if (pen.style == 0 || pen.style > 5) return p;  // unknown styles draw solid
    p.solid = false;
    p.period = 0;
    bool on = true;
    for (const int* run = kRuns[pen.style]; *run != 0; ++run, on = !on)
        for (int i = 0; i < *run; ++i) p.ink[p.period++] = on;
    return p;
}

}  // namespace Raster::Internal

namespace Raster {

using namespace Internal;

void DrawLine(Surface& s, int64_t x1, int64_t y1, int64_t x2, int64_t y2, const Pen& pen) {
    DrawPatternedLine(s, x1, y1, x2, y2, pen, PatternOf(pen), 0);
}

// The outline is one closed path: from the top-right pixel left along the top,
// down the left side, right along the bottom and up the right side, the
// pattern running on from side to side. Each side leaves out its end pixel,
// which the next side starts on; a 1 x 1 box makes all four sides a single
// point and so paints none of them, and its one pixel is painted on its own
// (a 1 x N or N x 1 box still has two sides of full length and needs nothing).
void FrameRect(Surface& s, int64_t x1, int64_t y1, int64_t x2, int64_t y2, const Pen& pen) {
    if (!WithinLimit(x1) || !WithinLimit(y1) || !WithinLimit(x2) || !WithinLimit(y2)) return;
    SortCorners(x1, y1, x2, y2);
    if (x1 == x2 || y1 == y2) return;
    const PenPattern pattern = PatternOf(pen);
    const int64_t right = x2 - 1, bottom = y2 - 1;
    if (right == x1 && bottom == y1) {
        DrawPatternedLine(s, x1, y1, x2, y1, pen, pattern, 0);  // just its start pixel
        return;
    }
    uint64_t phase = 0;
    phase += DrawPatternedLine(s, right, y1, x1, y1, pen, pattern, phase);
    phase += DrawPatternedLine(s, x1, y1, x1, bottom, pen, pattern, phase);
    phase += DrawPatternedLine(s, x1, bottom, right, bottom, pen, pattern, phase);
    DrawPatternedLine(s, right, bottom, right, y1, pen, pattern, phase);
}

}  // namespace Raster
