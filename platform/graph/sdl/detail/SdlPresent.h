// Turning the published 8-bit palette-index frame into 32-bit window pixels:
// where the picture stands in the window (scale and centring) and which
// rows to convert.
#pragma once
#include <cstdint>
#include <vector>
#include "platform/graph/WindowSurface.h"

namespace Graph::detail {

// Where the picture stands in a window's client area: `shownW` x `shownH`
// pixels of the frame from its top-left corner, each a `scale` x `scale`
// block, the block area's top-left corner at (offsetX, offsetY).
struct Layout {
    int scale = 1;
    int offsetX = 0, offsetY = 0;
    int shownW = 0, shownH = 0;
};

// The plain window (scale 1, not fullscreen) shows what fits of the frame
// from its top-left corner. A scaled or fullscreen window shows the area a
// full-window clear covers (all columns but the last, all rows but the
// last); fullscreen at the largest whole scale that fits, centred.
Layout ComputeLayout(int clientW, int clientH, int frameW, int frameH, int scale, bool fullscreen);

// The client size of a window that shows the frame at `scale` (> 1).
void ScaledClientSize(int frameW, int frameH, int scale, int& w, int& h);

// 32-bit target pixels, rows `pitch` bytes apart.
struct Canvas {
    uint8_t* pixels = nullptr;
    int pitch = 0;
    int w = 0, h = 0;
};

// Colours of the 256 palette indices in the target's pixel format, built by
// `map` (r, g, b) -> pixel; indices beyond the palette show black.
template <class Map>
void FillColourTable(const Palette& palette, Map map, uint32_t (&table)[256]) {
    for (int i = 0; i < 256; ++i) {
        const uint32_t rgb = palette.RGB(static_cast<uint8_t>(i));
        table[i] = map(static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                       static_cast<uint8_t>(rgb));
    }
}

// Paints frame rows y0..y1-1 (within the shown area) onto the canvas.
void ConvertRows(const Pixels& frame, const uint32_t (&table)[256], const Layout& layout,
                 Canvas& canvas, int y0, int y1);

// A band of frame rows y0..y1-1.
struct RowBand {
    int y0 = 0, y1 = 0;
};

// The bands of the first `rows` rows that changed since the window thread
// last looked (all of them when `all`, or when the palette or the surface
// is new); clears the marks. Bands a few unchanged rows apart go as one.
std::vector<RowBand> TakeChangedBands(PublishedFrame& frame, int rows, bool all);

}  // namespace Graph::detail
