// libFuzzer entry: the whole line path, from 3D points through projection
// and clipping to the rasteriser of the offscreen window.
#include <cstddef>
#include <cstdint>

#include "platform/graph/Graph.h"
#include "tests/engine3d/LijnPad.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static const bool venster = [] {
        Graph::ModuleInit();
        return Graph::Init(1, 1, 1025, 730);
    }();
    if (venster) {
        lijnpad::Run(data, size, lijnpad::MetTekenen{});
    } else {
        lijnpad::Run(data, size, lijnpad::ZonderTekenen{});
    }
    return 0;
}
