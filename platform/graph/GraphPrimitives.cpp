// Shapes, pen and brush settings, background and palette: each one request
// (the custom fill mask excepted, see SetFillMask).
#include <cstring>
#include "platform/graph/Graph.h"
#include "platform/graph/detail/GraphCaller.h"
#include "platform/graph/detail/GraphPalette.h"
#include "platform/graph/detail/GraphService.h"

namespace Graph {

using namespace detail;

namespace {

void PostShape(uint8_t op, uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, uint32_t colour,
               bool fill) {
    HideCursor();
    PostWords(op, x1, y1, x2, y2, colour, fill);
    RestoreCursor();
}

}  // namespace

void Line(CARDINAL x1, CARDINAL y1, CARDINAL x2, CARDINAL y2, CARDINAL colour) {
    PostShape(OP_LINE, x1, y1, x2, y2, colour, false);
}

void Rectangle(CARDINAL x1, CARDINAL y1, CARDINAL x2, CARDINAL y2, CARDINAL colour, BOOLEAN fill) {
    PostShape(OP_RECTANGLE, x1, y1, x2, y2, colour, fill);
}

// The box is computed with 32-bit wrap-around, as signed arithmetic would:
// a centre nearer the edge than the radius gives a box reaching past it.
void Ellipse(CARDINAL x, CARDINAL y, CARDINAL a, CARDINAL b, CARDINAL colour, BOOLEAN fill) {
    PostShape(OP_ELLIPSE, x - a, y - b, x + a, y + b, colour, fill);
}

void Disc(CARDINAL x, CARDINAL y, CARDINAL r, CARDINAL colour) { Ellipse(x, y, r, r, colour, true); }

void SetLineStyle(CARDINAL style) { PostWords(OP_LINESTYLE, style); }

void SetStdFillMask(CARDINAL mask) {
    CallerState& cs = Caller();
    cs.useStdMask = true;
    cs.stdMask = mask;
    PostWords(OP_FILLMASK, mask);
}

CARDINAL GetStdFillMask() { return Caller().stdMask; }

// Changes the pattern of the drawing settings directly, without a request
// (and so without a trace line).
void SetFillMask(const uint8_t (&mask)[8]) {
    CallerState& cs = Caller();
    cs.useStdMask = false;
    std::memcpy(cs.customMask, mask, sizeof cs.customMask);
    DrawState& draw = TheService().draw;
    std::memcpy(draw.pattern, mask, sizeof draw.pattern);
    draw.useStdMask = false;
}

CARDINAL SetBkColor(CARDINAL colour) {
    CallerState& cs = Caller();
    const CARDINAL previous = cs.bkColour;
    cs.bkColour = colour;
    PostWords(OP_BKCOLOR, colour);
    return previous;
}

void SetBkMix(BOOLEAN opaque) { PostWords(OP_BKMODE, opaque ? kBkOpaque : kBkTransparent); }

void InitStdPalette() { (void)RemapAllPalette(kStandardPalette, 16); }

INTEGER RemapAllPalette(const CARDINAL* colours, std::size_t count) {
    if (static_cast<uint64_t>(count) > NumPColor) return -1;
    const std::size_t n = colours ? (count < kPaletteCapacity ? count : kPaletteCapacity) : 0;
    if (Request* r = TakeRecord()) {
        r->op = OP_PALETTE;
        r->paletteCount = static_cast<uint32_t>(n);
        if (n) std::memcpy(r->palette, colours, n * sizeof(uint32_t));
        Post(*r);
    }
    return 0;
}

}  // namespace Graph
