#include "tests/support/OffscreenGraph.h"

#include "platform/graph/Graph.h"

namespace testsupport {

bool OpenGraph(const Graph::WindowSystem& system) {
    Graph::SetWindowSystem(system);
    Graph::ModuleInit();
    return Graph::Init(1, 1, kScreenWidth, kScreenDepth);
}

bool OpenOffscreenGraph(bool keepFrames) { return OpenGraph(Graph::OffscreenWindowSystem(keepFrames)); }

void CloseGraph() { Graph::ModuleExit(); }

bool OffscreenGraphForProcess() {
    static const bool opened = OpenOffscreenGraph();
    return opened;
}

}  // namespace testsupport
