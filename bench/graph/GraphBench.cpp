// A heavy frame through Graph's public calls (requests carried out at once
// on the back buffer, with their bookkeeping), against the bare rasteriser
// painting the same requests on one surface: what Graph itself adds.
#include <benchmark/benchmark.h>
#include "HeavyFrame.h"
#include "platform/graph/GraphProbe.h"
#include "platform/graph/detail/GraphService.h"
#include "tests/support/OffscreenGraph.h"

namespace {

using namespace graphbench;
using Graph::detail::DrawState;

const std::vector<Request>& Frame() {
    static const std::vector<Request> frame = HeavyFrame();
    return frame;
}

// One surface painted straight from the requests.
struct BareSurface {
    Graph::detail::Pixels back;
    DrawState state;
    BareSurface() { back.Allocate(1025, 730); }
    void Carry(const Request& r) {
        Graph::detail::ApplySetting(r, state);
        Raster::Surface b = back.View();
        Graph::detail::Paint(r, state, b);
    }
};

void SetCounters(benchmark::State& state, std::size_t requestsPerIteration) {
    state.counters["requests"] = static_cast<double>(requestsPerIteration);
    state.counters["ns_per_request"] = benchmark::Counter(
        static_cast<double>(requestsPerIteration) * 1e-9,
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_FrameThroughGraph(benchmark::State& state) {
    testsupport::OffscreenGraphForProcess();
    for (auto _ : state) {
        for (const Request& r : Frame()) PostThroughGraph(r);
    }
    SetCounters(state, Frame().size());
}
BENCHMARK(BM_FrameThroughGraph)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_FrameInline(benchmark::State& state) {
    BareSurface surface;
    for (auto _ : state)
        for (const Request& r : Frame()) surface.Carry(r);
    SetCounters(state, Frame().size());
}
BENCHMARK(BM_FrameInline)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
