// A look at the window service's surfaces for its tests: the back buffer
// and the window surface as packed pixels, and counts of one palette index.
#pragma once
#include <cstdint>
#include <vector>
#include "platform/graph/Graph.h"
#include "platform/graph/GraphFrames.h"
#include "platform/graph/GraphProbe.h"
#include "platform/graph/detail/GraphService.h"
#include "tests/support/OffscreenGraph.h"

namespace graphtest {

inline constexpr int kWidth = testsupport::kScreenWidth;
inline constexpr int kDepth = testsupport::kScreenDepth;

// The visible pixels of a surface, rows packed at its width (the padding a
// row pitch adds is left out).
inline std::vector<uint8_t> Packed(const Graph::detail::Pixels& p) {
    std::vector<uint8_t> out;
    out.reserve(static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height));
    for (int32_t y = 0; y < p.height; ++y) out.insert(out.end(), p.Row(y), p.Row(y) + p.width);
    return out;
}

// Copies of both surfaces.
inline std::vector<uint8_t> BackBuffer() { return Packed(Graph::detail::TheService().back); }

// The window surface as it stands (publish a frame first to bring it up to date).
inline std::vector<uint8_t> WindowSurface() { return Packed(Graph::WindowSurface().pixels); }

inline std::vector<uint8_t> PublishedWindowSurface() {
    Graph::PublishFrame();
    return WindowSurface();
}

// Number of back-buffer pixels of one palette index in a box (x2, y2 excluded).
inline int CountIndex(int x1, int y1, int x2, int y2, uint8_t index) {
    int n = 0;
    for (int y = y1; y < y2; ++y)
        for (int x = x1; x < x2; ++x) n += Graph::PixelIndex(x, y) == index;
    return n;
}

}  // namespace graphtest
