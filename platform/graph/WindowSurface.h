// The window surface: the frame published last, as a window backend reads it
// to show it. Graph writes it when the program publishes a frame
// (platform/graph/GraphFrames.h) and lists the runs of pixels that changed,
// so that a window converts and sends only those.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>
#include "platform/graph/raster/Raster.h"

namespace Graph {

// Entries a palette holds; RemapAllPalette keeps at most this many.
inline constexpr std::size_t kPaletteCapacity = 1024;

// One 8-bit palette-index surface of width x height pixels. Rows are `pitch`
// bytes apart (Raster::PreferredPitch: steep lines draw faster than with rows
// packed at the width); the bytes past the width in each row are never shown.
struct Pixels {
    std::vector<uint8_t> data;
    int32_t width = 0;
    int32_t height = 0;
    int32_t pitch = 0;

    void Allocate(int32_t w, int32_t h);
    void Release();
    Raster::Surface View();
    uint8_t* Row(int32_t y) { return data.data() + static_cast<std::ptrdiff_t>(y) * pitch; }
    const uint8_t* Row(int32_t y) const { return data.data() + static_cast<std::ptrdiff_t>(y) * pitch; }
};

struct Palette {
    uint32_t colours[kPaletteCapacity] = {};
    uint32_t count = 0;
    uint32_t RGB(uint8_t index) const { return index < count ? colours[index] : 0; }
};

// Columns x0..x1-1 of row y. A run may hold a few unchanged pixels between
// and around the changed ones (they are compared eight at a time, and runs
// a little apart are joined): sending those again changes nothing.
struct ChangedRun {
    int32_t y = 0, x0 = 0, x1 = 0;
};

// The last published frame.
struct PublishedFrame {
    Pixels pixels;
    Palette palette;
    std::vector<ChangedRun> runs;   // what the last publish changed, row by row from the top
    bool allChanged = true;         // every pixel changed (a new surface or palette)
};

// The frame published last (program thread).
const PublishedFrame& WindowSurface();

}  // namespace Graph
