// The software rasteriser: pure drawing functions over 8-bit palette-index
// surfaces. No threads, no clocks, no window system: each call paints one
// shape into one surface and nothing else. Coordinates are 64-bit so that any
// 32-bit request (signed or unsigned) can be clipped exactly without overflow;
// whatever falls outside the surface is not painted, and clipping never
// changes which pixels inside the surface a shape paints.
#pragma once
#include <cstddef>
#include <cstdint>

namespace Raster {

struct Surface {
    uint8_t* pixels = nullptr;  // row-major palette indices
    int32_t width = 0;
    int32_t height = 0;
    int32_t pitch = 0;          // bytes from one row to the next
};

// Pen: colour and line style (0 solid, 1 dash, 2 dot, 3 dash-dot,
// 4 dash-dot-dot, 5 invisible). Gaps of a styled line are painted in the
// background colour when `opaqueBackground` is set, else left alone.
struct Pen {
    uint8_t colour = 0;
    uint8_t style = 0;
    uint8_t background = 0;
    bool opaqueBackground = true;
};

// Brush of a filled shape: solid, one of the six hatch styles, or a custom
// 8 x 8 pattern (one byte per row, first byte the top row, most significant
// bit the leftmost column; set bits in `colour`, clear bits in `background`).
struct Brush {
    enum class Kind : uint8_t { Solid, Hatch, Pattern };
    Kind kind = Kind::Solid;
    uint8_t colour = 0;
    uint8_t hatch = 0;          // 0..5, as the PATSYM_ values
    uint8_t pattern[8] = {};
    uint8_t background = 0;
    bool opaqueBackground = true;  // hatch background pixels painted or left alone
};

// A row pitch for a new surface of the given width: the width rounded up to
// whole 64-byte cache lines, an odd number of them, so that the rows of a
// steep line spread over every cache set instead of a few (a pitch near a
// multiple of 256 makes steep lines several times slower).
int32_t PreferredPitch(int32_t width);

// Coordinates from -2^40 to 2^40 are handled exactly (every 32-bit value,
// signed or unsigned, and the sums the window service forms from them); a
// line, outline, ellipse or text with a coordinate beyond that lies far off
// every surface and is not drawn.

// Start pixel painted, end pixel not. Ties between two pixels go to the
// upper (x-major) or left (y-major) one in either direction, so a line and
// its reverse paint the same pixels apart from their ends.
void DrawLine(Surface& s, int64_t x1, int64_t y1, int64_t x2, int64_t y2, const Pen& pen);
// Corners are sorted first. Outline: columns x1 and x2-1, rows y1 and y2-1.
void FrameRect(Surface& s, int64_t x1, int64_t y1, int64_t x2, int64_t y2, const Pen& pen);
// Corners are sorted first. Fill: columns x1..x2-2, rows y1..y2-2.
void FillRect(Surface& s, int64_t x1, int64_t y1, int64_t x2, int64_t y2, const Brush& brush);
// Ellipse inscribed in the box (x1, y1)-(x2, y2), corners sorted first. The
// outline is the one-pixel curve through columns x1..x2-1 and rows y1..y2-1
// (boxes under 3 pixels in a direction are drawn as FrameRect). The fill has
// no pen and, like FillRect, loses the last column and row: it covers the
// outline and inside of the box (x1, y1)-(x2-1, y2-1) (boxes under 4 pixels
// in a direction are filled as FillRect).
void FrameEllipse(Surface& s, int64_t x1, int64_t y1, int64_t x2, int64_t y2, const Pen& pen);
void FillEllipse(Surface& s, int64_t x1, int64_t y1, int64_t x2, int64_t y2, const Brush& brush);
// Inverts the palette index bits of every pixel of the box (x1..x2-1, y1..y2-1).
void InvertRect(Surface& s, int64_t x1, int64_t y1, int64_t x2, int64_t y2);
// Fills the whole surface with one colour.
void Clear(Surface& s, uint8_t colour);

// Text in the embedded bitmap font, top-left of the first cell at (x, y):
// exactly `length` characters (a zero byte is a character like any other;
// callers cut their texts). With `opaque` the cells (advance x 16 each) are
// painted in `background` before the ink. Codes without a glyph in the font
// (0..31, 127..159) show its default character, a dotted box.
void DrawText(Surface& s, int64_t x, int64_t y, const char* text, std::size_t length,
              uint8_t colour, uint8_t background, bool opaque);

// The embedded font's metrics.
struct FontMetrics {
    int32_t height;   // cell height (ascent + descent)
    int32_t ascent;
    int32_t descent;
    int32_t maxWidth; // widest character's advance
};
FontMetrics Font();
// Advance of one character and width in pixels of a text.
int32_t CharAdvance(unsigned char c);
int64_t TextWidth(const char* text, std::size_t length);

}  // namespace Raster
