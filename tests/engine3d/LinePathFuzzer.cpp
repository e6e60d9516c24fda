// libFuzzer entry: the whole line path, from 3D points through projection
// and clipping to the rasteriser of the offscreen window.
#include <cstddef>
#include <cstdint>

#include "tests/engine3d/LinePath.h"
#include "tests/support/OffscreenGraph.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (testsupport::OffscreenGraphForProcess()) {
        linepath::Run(data, size, linepath::WithDrawing{});
    } else {
        linepath::Run(data, size, linepath::GeometryOnly{});
    }
    return 0;
}
