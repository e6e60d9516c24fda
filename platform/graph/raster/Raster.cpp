// Filled rectangles, inversion, clearing, and the span and brush helpers that
// every filled shape uses. Rectangles are clipped by clamping: a fill covers
// whole rows and columns, so only the on-surface part is ever visited.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include "platform/graph/raster/detail/RasterInternal.h"

namespace Raster::Internal {

namespace {

// Hatch patterns, one byte per row from the top, bit 7 the leftmost column.
constexpr uint8_t kHatches[6][8] = {
    {0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00},  // horizontal
    {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08},  // vertical
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // falling from top-left
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // rising to top-right
    {0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08, 0x08},  // cross
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},  // diagonal cross
};

// One row of a patterned brush: the mask byte is tiled from column 0 of the
// surface, so the pattern of neighbouring shapes lines up.
void PatternRow(uint8_t* row, int64_t first, int64_t last, uint8_t mask, const Brush& brush,
                bool paintBackground) {
    for (int64_t x = first; x <= last; ++x) {
        bool ink = (mask >> (7 - (x & 7))) & 1;
        if (ink)
            row[x] = brush.colour;
        else if (paintBackground)
            row[x] = brush.background;
    }
}

}  // namespace

uint64_t ISqrt(UWide n) {
    if (n == 0) return 0;
    const long double estimate = std::sqrt(static_cast<long double>(n));
    uint64_t r = estimate >= 18446744073709551615.0L ? UINT64_MAX : static_cast<uint64_t>(estimate);
    // The floating estimate is within a few units; settle it exactly.
    while (r > 0 && UWide{r} * r > n) --r;
    while (r < UINT64_MAX && UWide{r + 1} * (r + 1) <= n) ++r;
    return r;
}

void SortCorners(int64_t& x1, int64_t& y1, int64_t& x2, int64_t& y2) {
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
}

void FillSpan(Surface& s, int64_t y, int64_t xFirst, int64_t xLast, const Brush& brush) {
    if (s.pixels == nullptr || y < 0 || y >= s.height) return;
    xFirst = std::max<int64_t>(xFirst, 0);
    xLast = std::min<int64_t>(xLast, int64_t{s.width} - 1);
    if (xFirst > xLast) return;
    uint8_t* row = s.pixels + static_cast<ptrdiff_t>(y) * s.pitch;
    switch (brush.kind) {
    case Brush::Kind::Solid:
        std::memset(row + xFirst, brush.colour, static_cast<size_t>(xLast - xFirst + 1));
        break;
    case Brush::Kind::Hatch:
        if (brush.hatch > 5) {  // not a hatch style: treat as solid
            std::memset(row + xFirst, brush.colour, static_cast<size_t>(xLast - xFirst + 1));
            break;
        }
        PatternRow(row, xFirst, xLast, kHatches[brush.hatch][y & 7], brush, brush.opaqueBackground);
        break;
    case Brush::Kind::Pattern:
        // Both colours of a custom pattern are always painted.
        PatternRow(row, xFirst, xLast, brush.pattern[y & 7], brush, true);
        break;
    }
}

}  // namespace Raster::Internal

namespace Raster {

using namespace Internal;

namespace {

// Clamps a coordinate to a little beyond the surface on either side; a fill's
// pixels inside the surface do not change.
int64_t Clamp(int64_t v, int32_t extent) {
    return std::clamp<int64_t>(v, -4, int64_t{extent} + 4);
}

}  // namespace

void FillRect(Surface& s, int64_t x1, int64_t y1, int64_t x2, int64_t y2, const Brush& brush) {
    SortCorners(x1, y1, x2, y2);
    x1 = Clamp(x1, s.width);
    x2 = Clamp(x2, s.width);
    y1 = Clamp(y1, s.height);
    y2 = Clamp(y2, s.height);
    // Without a pen the box loses its last column and row.
    const int64_t top = std::max<int64_t>(y1, 0), bottom = std::min<int64_t>(y2 - 2, int64_t{s.height} - 1);
    for (int64_t y = top; y <= bottom; ++y) FillSpan(s, y, x1, x2 - 2, brush);
}

void InvertRect(Surface& s, int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
    if (s.pixels == nullptr) return;
    SortCorners(x1, y1, x2, y2);
    const int64_t left = std::max<int64_t>(x1, 0), right = std::min<int64_t>(x2, s.width);
    const int64_t top = std::max<int64_t>(y1, 0), bottom = std::min<int64_t>(y2, s.height);
    for (int64_t y = top; y < bottom; ++y) {
        uint8_t* row = s.pixels + static_cast<ptrdiff_t>(y) * s.pitch;
        for (int64_t x = left; x < right; ++x) row[x] = static_cast<uint8_t>(~row[x]);
    }
}

int32_t PreferredPitch(int32_t width) {
    if (width <= 0) return 0;
    int64_t lines = (int64_t{width} + 63) / 64;
    if (lines % 2 == 0) ++lines;
    const int64_t pitch = lines * 64;
    return pitch <= INT32_MAX ? static_cast<int32_t>(pitch) : width;
}

void Clear(Surface& s, uint8_t colour) {
    if (s.pixels == nullptr || s.width <= 0 || s.height <= 0) return;
    if (s.pitch == s.width) {
        std::memset(s.pixels, colour, static_cast<size_t>(s.width) * static_cast<size_t>(s.height));
        return;
    }
    for (int32_t y = 0; y < s.height; ++y)
        std::memset(s.pixels + static_cast<ptrdiff_t>(y) * s.pitch, colour, static_cast<size_t>(s.width));
}

}  // namespace Raster
