// Text in the embedded bitmap font. Each character occupies a cell of its
// advance by 16 pixels; the text's top-left cell corner is at (x, y). With an
// opaque background the whole run of cells is painted in the background
// colour first and the ink after it, so ink that overhangs its cell (the
// letter f does by one column) is not cut by the next cell. Codes the font
// has no glyph for show its default character, a dotted box.
#include <algorithm>
#include "platform/graph/raster/detail/FontData.h"
#include "platform/graph/raster/detail/RasterInternal.h"

namespace Raster {

using namespace Internal;

namespace {

// Ink of one glyph with its cell's left edge at column x.
void DrawGlyph(Surface& s, int64_t x, int64_t y, const FontData::Glyph& g, uint8_t colour) {
    if (x >= s.width || x + 16 <= 0) return;
    for (int row = 0; row < FontData::kCellHeight; ++row) {
        const int64_t py = y + row;
        if (py < 0 || py >= s.height || g.rows[row] == 0) continue;
        uint8_t* line = s.pixels + static_cast<ptrdiff_t>(py) * s.pitch;
        for (int col = 0; col < 16; ++col) {
            if (((g.rows[row] << col) & 0x8000) == 0) continue;
            const int64_t px = x + col;
            if (px >= 0 && px < s.width) line[px] = colour;
        }
    }
}

}  // namespace

FontMetrics Font() {
    int32_t widest = 0;
    for (const FontData::Glyph& g : FontData::kGlyphs) widest = std::max<int32_t>(widest, g.advance);
    return {FontData::kCellHeight, FontData::kAscent, FontData::kDescent, widest};
}

int32_t CharAdvance(unsigned char c) { return FontData::kGlyphs[c].advance; }

int64_t TextWidth(const char* text, std::size_t length) {
    int64_t width = 0;
    for (std::size_t i = 0; i < length; ++i) width += CharAdvance(static_cast<unsigned char>(text[i]));
    return width;
}

void DrawText(Surface& s, int64_t x, int64_t y, const char* text, std::size_t length, uint8_t colour,
              uint8_t background, bool opaque) {
    if (s.pixels == nullptr || text == nullptr || !WithinLimit(x) || !WithinLimit(y)) return;
    if (y >= s.height || y + FontData::kCellHeight <= 0) return;
    // Characters that start beyond the right edge cannot paint anything.
    std::size_t shown = 0;
    int64_t end = x;
    while (shown < length && end < s.width) end += CharAdvance(static_cast<unsigned char>(text[shown++]));
    if (opaque) {
        Brush box;
        box.colour = background;
        for (int row = 0; row < FontData::kCellHeight; ++row) FillSpan(s, y + row, x, end - 1, box);
    }
    int64_t pen = x;
    for (std::size_t i = 0; i < shown; ++i) {
        const FontData::Glyph& g = FontData::kGlyphs[static_cast<unsigned char>(text[i])];
        DrawGlyph(s, pen, y, g, colour);
        pen += g.advance;
    }
}

}  // namespace Raster
