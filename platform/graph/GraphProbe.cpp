// What tests and tools may ask of Graph: the back buffer's pixels, PNG
// snapshots and the request trace.
#include "platform/graph/GraphProbe.h"

#include "platform/graph/detail/GraphCaller.h"
#include "platform/graph/detail/GraphService.h"
#include "platform/graph/raster/PngWriter.h"

namespace Graph {

using namespace detail;

namespace {

bool Inside(const Pixels& p, INTEGER x, INTEGER y) {
    return x >= 0 && y >= 0 && x < p.width && y < p.height;
}

uint8_t IndexAt(const Pixels& p, INTEGER x, INTEGER y) {
    return p.Row(y)[x];
}

}  // namespace

uint8_t PixelIndex(INTEGER x, INTEGER y) {
    const Service& sv = TheService();
    return Inside(sv.back, x, y) ? IndexAt(sv.back, x, y) : 0;
}

CARDINAL PixelRGB(INTEGER x, INTEGER y) {
    const Service& sv = TheService();
    return Inside(sv.back, x, y) ? sv.backPalette.RGB(IndexAt(sv.back, x, y)) : 0;
}

BOOLEAN WritePng(const char* path) {
    Service& sv = TheService();
    if (!path || sv.back.data.empty()) return false;
    return Raster::WritePngFile(path, sv.back.View(), sv.backPalette.colours,
                                static_cast<int>(sv.backPalette.count));
}

BOOLEAN WritePng(std::FILE* file) {
    Service& sv = TheService();
    if (sv.back.data.empty()) return false;
    return Raster::WritePng(file, sv.back.View(), sv.backPalette.colours, static_cast<int>(sv.backPalette.count));
}

void SetTrace(std::FILE* sink) { Caller().trace = sink; }

}  // namespace Graph
