// Graph opened for tests and benchmarks at the program's size (1025 x 730):
// on the offscreen window (no display needed) or on a window system of the
// caller's choosing, and closed again. No GoogleTest here, so benchmarks use
// it too; tests take the fixture in GraphFixture.h.
#pragma once
#include <cstdint>

#include "platform/graph/Graph.h"
#include "platform/graph/WindowBackend.h"

namespace testsupport {

inline constexpr int32_t kScreenWidth = 1025;
inline constexpr int32_t kScreenDepth = 730;

// Initialises Graph and opens its window on `system`; false when the window
// did not open.
inline bool OpenGraph(const Graph::WindowSystem& system) {
    Graph::SetWindowSystem(system);
    Graph::ModuleInit();
    return Graph::Init(1, 1, kScreenWidth, kScreenDepth);
}

// The offscreen window; with `keepFrames` published frames stay on the
// window surface, as a real window keeps them.
inline bool OpenOffscreenGraph(bool keepFrames = false) {
    return OpenGraph(Graph::OffscreenWindowSystem(keepFrames));
}

// Closes the window and finalises Graph; it may be opened again afterwards.
inline void CloseGraph() { Graph::ModuleExit(); }

// For test programs whose tests share one window, and for benchmarks: opens
// the offscreen window on the first call and keeps it open until the
// process ends; every call returns whether it opened.
inline bool OffscreenGraphForProcess() {
    static const bool opened = OpenOffscreenGraph();
    return opened;
}

}  // namespace testsupport
