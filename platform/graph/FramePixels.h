// Turning the published 8-bit palette-index frame into 32-bit window pixels:
// where the picture stands in the window (scale and centring), and
// converting either the whole frame or only the spans that changed. Shared
// by the windows that show frames (the SDL window, the web page's canvas).
#pragma once
#include <cstdint>
#include <vector>
#include "platform/graph/WindowSurface.h"

namespace Graph {

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

// The largest whole scale, from 1 to `asked`, whose window (ScaledClientSize)
// fits a `screenW` x `screenH` area: 1 when none does.
int LargestScaleThatFits(int frameW, int frameH, int asked, int screenW, int screenH);

// The scale a window opens at. `asked` is a whole scale from 1, or 0 for the
// largest that fits the `screenW` x `screenH` area, up to `largest`. An
// asked scale too large for the area becomes the largest that fits, and
// `shrunk` says so (the player is told); scale 1 stays as it is. With the
// area not known (0 x 0) an asked scale stays, and 0 gives 1.
struct ScaleChoice {
    int scale = 1;
    bool shrunk = false;
};
ScaleChoice ChooseScale(int frameW, int frameH, int asked, int largest, int screenW, int screenH);

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

// Paints columns x0..x1-1 of frame row y (within the shown area).
void ConvertSpan(const Pixels& frame, const uint32_t (&table)[256], const Layout& layout,
                 Canvas& canvas, int y, int x0, int x1);

// An area of the frame: columns x0..x1-1 of rows y0..y1-1.
struct FrameArea {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool Empty() const { return x1 <= x0 || y1 <= y0; }
};

// Paints the runs the last publish changed (within the shown area) and
// returns the smallest area that holds them all: sent to the display as one
// update, so that nobody looking at the screen sees part of a frame.
FrameArea ConvertChanges(const PublishedFrame& frame, const uint32_t (&table)[256], const Layout& layout,
                         Canvas& canvas);

// The window's rectangle that shows `area` of the frame.
inline void WindowRect(const Layout& layout, const FrameArea& area, int& x, int& y, int& w, int& h) {
    x = layout.offsetX + area.x0 * layout.scale;
    y = layout.offsetY + area.y0 * layout.scale;
    w = (area.x1 - area.x0) * layout.scale;
    h = (area.y1 - area.y0) * layout.scale;
}

}  // namespace Graph
