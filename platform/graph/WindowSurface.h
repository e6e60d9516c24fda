// The window surface: the frame published last, as a window backend reads it
// on the window thread to show it. Graph's caller writes it when it publishes
// a frame (platform/graph/GraphFrames.h); a backend reads it only while it
// holds WindowSurfaceLock().
#pragma once
#include <cstddef>
#include <cstdint>
#include <mutex>
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

// The last published frame.
struct PublishedFrame {
    Pixels pixels;
    Palette palette;
    uint64_t serial = 0;               // frames published so far
    std::vector<uint8_t> rowChanged;   // rows changed since the window thread last looked
    bool allChanged = true;            // every row changed (new surface or palette)
};

// The lock that guards the window surface, and the surface itself.
std::mutex& WindowSurfaceLock();
PublishedFrame& WindowSurface();

}  // namespace Graph
