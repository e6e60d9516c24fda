// Ellipses inscribed in a box.
//
// The outline of the box (L, T)-(R, B) is the ideal ellipse through the
// centres of the outermost pixels of columns L..R-1 and rows T..B-1. Each row
// is one span of the filled shape; its right end is the farther of two
// choices: the column nearest the curve on that row (what the steep sides
// need) and the last column whose nearest curve row is at or beyond this row
// (what the flat top and bottom need). Every span is solved in exact integer
// arithmetic, so any visible row costs the same whatever the ellipse's size,
// and only visible rows are visited. The outline's pixels on a row are the
// part of the span not covered by the next row toward the nearer pole (at
// least the span's end pixel), which makes the outline 8-connected.
//
// A filled ellipse has no pen, and like the filled rectangle loses its last
// column and row: it covers exactly the pixels of the outlined-and-filled
// ellipse of the box (L, T)-(R-1, B-1). Boxes under three pixels in either
// direction are drawn as rectangles.
#include <algorithm>
#include "platform/graph/raster/detail/RasterInternal.h"

namespace Raster::Internal {

namespace {

// Offsets are in half pixels from the centre: column L + i has u = 2i - a and
// row T + j has v = 2j - b, where a and b are the diameters between the
// centres of the outermost pixels. The curve is u^2/a^2 + v^2/b^2 = 1.
struct EllipseShape {
    int64_t left, top;
    int64_t a, b;  // both >= 2 and below 2^32
};

// Largest value <= limit with the parity of a.
int64_t WithParity(int64_t limit, int64_t a) {
    return ((limit - a) & 1) ? limit - 1 : limit;
}

// Half width u of the filled span on the row with |v| = w.
int64_t SpanHalf(const EllipseShape& e, int64_t w) {
    if (w <= 1) return e.a;
    const UWide a2 = UWide(e.a) * UWide(e.a), b2 = UWide(e.b) * UWide(e.b);
    // Nearest column on this row: u - 1 <= a * sqrt(1 - w^2/b^2).
    const uint64_t onRow = ISqrt(a2 * (b2 - UWide(w) * UWide(w)) / b2);
    // Columns whose nearest curve row reaches this row: (w - 1) <= b * sqrt(1 - u^2/a^2).
    const uint64_t fromColumns = ISqrt(a2 * (b2 - UWide(w - 1) * UWide(w - 1)) / b2);
    const int64_t u1 = WithParity(static_cast<int64_t>(onRow) + 1, e.a);
    const int64_t u2 = WithParity(static_cast<int64_t>(fromColumns), e.a);
    return std::min(std::max(u1, u2), e.a);
}

int64_t Column(const EllipseShape& e, int64_t u) { return e.left + (u + e.a) / 2; }
int64_t RowW(const EllipseShape& e, int64_t row) {
    int64_t v = 2 * (row - e.top) - e.b;
    return v < 0 ? -v : v;
}

// The outline's right-hand run on the row with |v| = w, as u offsets from
// `first` to `last` (step 2). The left-hand run is its mirror image without
// the centre column.
struct Run {
    int64_t first, last;
};
Run RightRun(const EllipseShape& e, int64_t w) {
    const int64_t half = SpanHalf(e, w);
    const int64_t centre = e.a & 1;  // smallest u >= 0 with the parity of a
    int64_t first = centre;
    if (w + 2 <= e.b) first = std::max(first, SpanHalf(e, w + 2) + 2);
    return {std::min(first, half), half};
}
Run LeftRun(const Run& right) {
    const int64_t last = std::min(-right.first, int64_t{-1});
    return {-right.last, last};
}

void PaintRun(Surface& s, const EllipseShape& e, int64_t row, const Run& run, const Brush& ink) {
    if (run.first <= run.last) FillSpan(s, row, Column(e, run.first), Column(e, run.last), ink);
}

std::pair<int64_t, int64_t> VisibleRows(const Surface& s, const EllipseShape& e) {
    return {std::max<int64_t>(e.top, 0), std::min<int64_t>(e.top + e.b, int64_t{s.height} - 1)};
}

void FillShape(Surface& s, const EllipseShape& e, const Brush& brush) {
    auto [first, last] = VisibleRows(s, e);
    for (int64_t row = first; row <= last; ++row) {
        const int64_t half = SpanHalf(e, RowW(e, row));
        FillSpan(s, row, Column(e, -half), Column(e, half), brush);
    }
}

void OutlineSolid(Surface& s, const EllipseShape& e, uint8_t colour) {
    Brush ink;
    ink.colour = colour;
    auto [first, last] = VisibleRows(s, e);
    for (int64_t row = first; row <= last; ++row) {
        const Run right = RightRun(e, RowW(e, row));
        PaintRun(s, e, row, right, ink);
        PaintRun(s, e, row, LeftRun(right), ink);
    }
}

// Styled outlines follow the path: from the widest point on the right up and
// round counter-clockwise, the pattern running on pixel by pixel. The phase
// needs every row of the ellipse, visible or not, so the walk is bounded:
// an ellipse more than kWalkRows tall (far bigger than any surface) walks only
// its visible rows and starts the pattern afresh in each quarter.
class StyledWalk {
public:
    static constexpr int64_t kWalkRows = int64_t{1} << 16;

    StyledWalk(Surface& s, const EllipseShape& e, const Pen& pen)
        : s_(s), e_(e), pen_(pen), pattern_(PatternOf(pen)) {}

    void Run() {
        const int64_t top = e_.top, bottom = e_.top + e_.b;
        const int64_t upperLast = top + e_.b / 2;  // last row with v <= 0
        Quarter(upperLast, top, true, false);
        Quarter(top, upperLast, false, false);
        Quarter(upperLast + 1, bottom, false, true);
        Quarter(bottom, upperLast + 1, true, true);
    }

private:
    // The rows from `from` to `to` (either direction) on one side.
    void Quarter(int64_t from, int64_t to, bool rightSide, bool leftToRight) {
        const int64_t step = from <= to ? 1 : -1;
        if (e_.b > kWalkRows) {
            position_ = 0;
            from = std::clamp<int64_t>(from, -1, s_.height);
            to = std::clamp<int64_t>(to, -1, s_.height);
        }
        for (int64_t row = from; row != to + step; row += step) Side(row, rightSide, leftToRight);
    }

private:
    // One run, walked right to left on the way up and over the top, left to
    // right on the way down and back. Pixel i of the run lies one column
    // further along than pixel i - 1, so the pixels off the surface are
    // skipped by counting them, not by walking them: a run of a flat
    // ellipse can be billions of pixels long.
    void Side(int64_t row, bool rightSide, bool leftToRight) {
        const Internal::Run right = RightRun(e_, RowW(e_, row));
        const Internal::Run run = rightSide ? right : LeftRun(right);
        if (run.first > run.last) return;
        const int64_t count = (run.last - run.first) / 2 + 1;
        const uint64_t start = position_;
        position_ += static_cast<uint64_t>(count);
        if (row < 0 || row >= s_.height) return;
        const int64_t x0 = Column(e_, leftToRight ? run.first : run.last);
        const int64_t lastX = int64_t{s_.width} - 1;
        const int64_t iFirst = std::max<int64_t>(0, leftToRight ? -x0 : x0 - lastX);
        const int64_t iLast = std::min<int64_t>(count - 1, leftToRight ? lastX - x0 : x0);
        uint8_t* const line = s_.pixels + static_cast<ptrdiff_t>(row) * s_.pitch;
        for (int64_t i = iFirst; i <= iLast; ++i) {
            const int64_t u = leftToRight ? run.first + 2 * i : run.last - 2 * i;
            uint8_t& pixel = line[Column(e_, u)];
            if (pattern_.InkAt(start + static_cast<uint64_t>(i)))
                pixel = pen_.colour;
            else if (pen_.opaqueBackground)
                pixel = pen_.background;
        }
    }

    Surface& s_;
    const EllipseShape& e_;
    const Pen& pen_;
    PenPattern pattern_;
    uint64_t position_ = 0;
};

constexpr int64_t kMaxDiameter = (int64_t{1} << 32) - 1;

bool ShapeOf(int64_t x1, int64_t y1, int64_t x2, int64_t y2, EllipseShape& e) {
    e = {x1, y1, x2 - x1, y2 - y1};
    return e.a <= kMaxDiameter && e.b <= kMaxDiameter;
}

bool InLimits(int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
    return WithinLimit(x1) && WithinLimit(y1) && WithinLimit(x2) && WithinLimit(y2);
}

}  // namespace

}  // namespace Raster::Internal

namespace Raster {

using namespace Internal;

void FrameEllipse(Surface& s, int64_t x1, int64_t y1, int64_t x2, int64_t y2, const Pen& pen) {
    if (!InLimits(x1, y1, x2, y2) || s.pixels == nullptr) return;
    SortCorners(x1, y1, x2, y2);
    if (x2 - x1 <= 2 || y2 - y1 <= 2) {
        FrameRect(s, x1, y1, x2, y2, pen);
        return;
    }
    EllipseShape e;
    if (!ShapeOf(x1, y1, x2 - 1, y2 - 1, e)) return;
    const PenPattern pattern = PatternOf(pen);
    if (pattern.invisible) return;
    if (pattern.solid)
        OutlineSolid(s, e, pen.colour);
    else
        StyledWalk(s, e, pen).Run();
}

void FillEllipse(Surface& s, int64_t x1, int64_t y1, int64_t x2, int64_t y2, const Brush& brush) {
    if (!InLimits(x1, y1, x2, y2) || s.pixels == nullptr) return;
    SortCorners(x1, y1, x2, y2);
    if (x2 - x1 <= 3 || y2 - y1 <= 3) {
        FillRect(s, x1, y1, x2, y2, brush);
        return;
    }
    EllipseShape e;
    if (!ShapeOf(x1, y1, x2 - 2, y2 - 2, e)) return;
    FillShape(s, e, brush);
}

}  // namespace Raster
