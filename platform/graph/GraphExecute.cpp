// Carrying out one request on one surface: the pen and brush each shape gets,
// made fresh from the drawing settings for every request.
#include "platform/graph/detail/GraphRequest.h"

#include <cstring>

namespace Graph::detail {

namespace {

constexpr uint32_t kLastLineStyle = 5;   // LNSTYLE_INVISIBLE
constexpr uint32_t kLastHatch = 5;       // PATSYM_DENSE1
constexpr uint32_t kSolidMask = 8;       // PATSYM_SOLID

uint8_t ColourOf(uint32_t word) { return static_cast<uint8_t>(word & 0xFFu); }

// A pen in the current line style. A style the platform does not know makes
// no pen, and the shape is not drawn.
bool MakePen(const DrawState& state, uint32_t colour, Raster::Pen& pen) {
    if (state.lineStyle > kLastLineStyle) return false;
    pen.colour = ColourOf(colour);
    pen.style = static_cast<uint8_t>(state.lineStyle);
    pen.background = state.bkColour;
    pen.opaqueBackground = state.opaque;
    return true;
}

// A brush for filled shapes: solid, hatched or the custom pattern. An unknown
// standard mask makes no brush, and the shape is not drawn.
bool MakeBrush(const DrawState& state, uint32_t colour, Raster::Brush& brush) {
    brush.colour = ColourOf(colour);
    brush.background = state.bkColour;
    brush.opaqueBackground = state.opaque;
    if (!state.useStdMask) {
        brush.kind = Raster::Brush::Kind::Pattern;
        std::memcpy(brush.pattern, state.pattern, sizeof brush.pattern);
        return true;
    }
    if (state.stdMask == kSolidMask) {
        brush.kind = Raster::Brush::Kind::Solid;
        return true;
    }
    if (state.stdMask > kLastHatch) return false;
    brush.kind = Raster::Brush::Kind::Hatch;
    brush.hatch = static_cast<uint8_t>(state.stdMask);
    return true;
}

void PaintBox(const Request& r, const DrawState& state, Raster::Surface& s, bool ellipse) {
    const int64_t x1 = Coordinate(r.word[0]), y1 = Coordinate(r.word[1]);
    const int64_t x2 = Coordinate(r.word[2]), y2 = Coordinate(r.word[3]);
    if (r.flag) {
        Raster::Brush brush;
        if (!MakeBrush(state, r.word[4], brush)) return;
        if (ellipse) Raster::FillEllipse(s, x1, y1, x2, y2, brush);
        else Raster::FillRect(s, x1, y1, x2, y2, brush);
        return;
    }
    Raster::Pen pen;
    if (!MakePen(state, r.word[4], pen)) return;
    if (ellipse) Raster::FrameEllipse(s, x1, y1, x2, y2, pen);
    else Raster::FrameRect(s, x1, y1, x2, y2, pen);
}

void PaintLine(const Request& r, const DrawState& state, Raster::Surface& s) {
    Raster::Pen pen;
    if (!MakePen(state, r.word[4], pen)) return;
    Raster::DrawLine(s, Coordinate(r.word[0]), Coordinate(r.word[1]), Coordinate(r.word[2]),
                     Coordinate(r.word[3]), pen);
}

void PaintText(const Request& r, const DrawState& state, Raster::Surface& s) {
    const std::size_t length = r.textLength < kTextCapacity ? r.textLength : kTextCapacity;
    Raster::DrawText(s, Coordinate(r.word[0]), Coordinate(r.word[1]), r.text, length,
                     ColourOf(r.word[2]), state.bkColour, state.opaque);
}

}  // namespace

void ApplySetting(const Request& r, DrawState& state) {
    switch (r.op) {
    case OP_LINESTYLE: state.lineStyle = r.word[0]; break;
    case OP_FILLMASK:
        state.stdMask = r.word[0];
        state.useStdMask = true;
        break;
    case OP_BKCOLOR: state.bkColour = ColourOf(r.word[0]); break;
    case OP_BKMODE:
        // Only the two modes the platform knows change anything.
        if (r.word[0] == kBkOpaque) state.opaque = true;
        else if (r.word[0] == kBkTransparent) state.opaque = false;
        break;
    default: break;
    }
}

void Paint(const Request& r, const DrawState& state, Raster::Surface& surface) {
    switch (r.op) {
    case OP_RECTANGLE: PaintBox(r, state, surface, false); break;
    case OP_ELLIPSE: PaintBox(r, state, surface, true); break;
    case OP_LINE: PaintLine(r, state, surface); break;
    case OP_TEXT: PaintText(r, state, surface); break;
    case OP_INVERT:
        Raster::InvertRect(surface, Coordinate(r.word[0]), Coordinate(r.word[1]),
                           Coordinate(r.word[2]), Coordinate(r.word[3]));
        break;
    default: break;
    }
}

}  // namespace Graph::detail
