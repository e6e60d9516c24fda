// Publishing and presenting frames through the SDL window on the software
// path, as the program does at each wait: the back buffer is compared with
// the frame shown last, the spans that changed are converted through the
// palette at the window's scale and sent to the display. Two kinds of frame:
// a typical game frame (a clear, stars that drift a pixel, wireframes,
// captions: few pixels change) and frames where every row changes. Needs a
// display (e.g. Xvfb, large enough for scale 3); skips without one.
#include <benchmark/benchmark.h>
#include <cstdlib>
#include "bench/graph/HeavyFrame.h"
#include "platform/graph/GraphFrames.h"
#include "platform/sdl/SdlWindow.h"
#include "tests/support/OffscreenGraph.h"

namespace {

using namespace graphbench;

bool OpenAtScale(int scale) {
    if (!std::getenv("DISPLAY")) return false;
    testsupport::CloseGraph();
    Graph::SdlWindowOptions options;
    options.scale = scale;
    options.renderer = Graph::SdlWindowOptions::Renderer::Software;
    return testsupport::OpenGraph(Graph::SdlWindowSystem(options));
}

// A game frame: the whole window cleared, 200 stars that drift with the
// frame number, 20 small wireframes and the captions.
void DrawGameFrame(uint32_t frame) {
    Graph::Rectangle(0, 0, 1025, 730, 0, true);
    uint32_t seed = 99;
    auto next = [&](uint32_t range) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % range;
    };
    for (int i = 0; i < 200; ++i) {
        const uint32_t x = (next(1000) + frame) % 1020, y = next(725);
        Graph::Rectangle(x, y, x + 1, y + 1, 15, true);
    }
    for (int i = 0; i < 20; ++i) {
        const uint32_t x = 200 + next(600) + frame % 7, y = 100 + next(500);
        Graph::Line(x, y, x + 30, y, 12);
        Graph::Line(x + 30, y, x + 30, y + 30, 12);
        Graph::Line(x + 30, y + 30, x, y + 30, 12);
        Graph::Line(x, y + 30, x, y, 12);
    }
    Graph::RawOutText(20, 340, 3, "Score");
    Graph::RawOutText(945, 340, 3, "level");
}

void PresentGameFrames(benchmark::State& state) {
    if (!OpenAtScale(static_cast<int>(state.range(0)))) {
        state.SkipWithError("no display");
        return;
    }
    uint32_t frame = 0;
    for (auto _ : state) {
        state.PauseTiming();
        DrawGameFrame(frame++);
        state.ResumeTiming();
        Graph::PublishFrame();
    }
    testsupport::CloseGraph();
}
BENCHMARK(PresentGameFrames)->Name("BM_PublishAndPresent/game_frame")->Arg(1)->Arg(2)->Arg(3)->Iterations(2000)
    ->Unit(benchmark::kMicrosecond)->UseRealTime();

void PresentWholeFrames(benchmark::State& state) {
    if (!OpenAtScale(static_cast<int>(state.range(0)))) {
        state.SkipWithError("no display");
        return;
    }
    const std::vector<Request> heavy = HeavyFrame();
    uint64_t frames = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // The heavy frame and a blue screen by turns: every row changes each time.
        if (frames++ % 2 == 0) {
            for (const Request& r : heavy) PostThroughGraph(r);
        } else {
            Graph::Rectangle(0, 0, 1025, 730, 1, true);
        }
        state.ResumeTiming();
        Graph::PublishFrame();
    }
    testsupport::CloseGraph();
}
BENCHMARK(PresentWholeFrames)->Name("BM_PublishAndPresent/every_row")->Arg(1)->Arg(2)->Arg(3)->Iterations(300)
    ->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
