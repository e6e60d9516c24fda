// The description of one drawing request (what the trace, the tests and the
// benchmarks see), the pen and brush settings it is painted with, and the
// pure procedures that carry one request out on one surface and describe it
// as a trace line.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include "platform/graph/WindowSurface.h"
#include "platform/graph/raster/Raster.h"

namespace Graph::detail {

// Operation codes. Codes up to 4 and 22 change settings or surfaces;
// 7..19 draw on the back buffer.
enum Op : uint8_t {
    OP_NONE = 0,
    OP_LINESTYLE = 2,
    OP_FILLMASK = 3,
    OP_PALETTE = 4,
    OP_BKCOLOR = 7,
    OP_BKMODE = 8,
    OP_RECTANGLE = 10,
    OP_LINE = 11,
    OP_ELLIPSE = 12,
    OP_TEXT = 18,
    OP_INVERT = 19,
    OP_SURFACES = 22,
};

inline constexpr std::size_t kTextCapacity = 257;
using Graph::kPaletteCapacity;

// Background modes as posted by SetBkMix.
inline constexpr uint32_t kBkTransparent = 1;
inline constexpr uint32_t kBkOpaque = 2;

struct Request {
    uint8_t op = OP_NONE;
    uint32_t word[5] = {};          // coordinates, colour, style, mode ... as posted
    bool flag = false;              // fill
    uint32_t textLength = 0;        // characters in `text`, at most kTextCapacity
    char text[kTextCapacity] = {};
    uint32_t paletteCount = 0;      // entries in `palette`, at most kPaletteCapacity
    uint32_t palette[kPaletteCapacity] = {};
};

// Requests that draw on the back buffer (settings of the background included).
inline bool DrawsOnTheBackBuffer(uint8_t op) { return op >= 5 && op <= 19; }

// Pen and brush settings, made into a fresh pen and brush for every request.
struct DrawState {
    uint32_t lineStyle = 0;         // LNSTYLE_ value
    uint32_t stdMask = 8;           // PATSYM_ value
    bool useStdMask = true;         // false: the custom pattern is in use
    uint8_t pattern[8] = {};        // custom 8 x 8 pattern, set bits in the colour
    uint8_t bkColour = 0;
    bool opaque = true;
};

// Settings requests (2, 3, 7, 8) change `state`; shape requests paint `surface`.
// Other codes do nothing here.
void ApplySetting(const Request& r, DrawState& state);
void Paint(const Request& r, const DrawState& state, Raster::Surface& surface);

// One trace line without its line end, e.g. "line 1 2 3 4 15".
std::string TraceLine(const Request& r);

// A posted coordinate word as the platform takes it: a signed 32-bit value.
inline int64_t Coordinate(uint32_t word) { return static_cast<int32_t>(word); }

}  // namespace Graph::detail
