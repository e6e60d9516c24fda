// Publishing and presenting one frame as the SDL window does it on the
// software path: the caller copies the changed rows of the back buffer to
// the window surface, the window thread converts them through the palette
// at the window's scale and sends them to the display. Needs a display
// (e.g. Xvfb); skips without one.
#include <SDL2/SDL.h>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <memory>
#include "HeavyFrame.h"
#include "platform/graph/GraphFrames.h"
#include "platform/graph/GraphProbe.h"
#include "platform/graph/detail/GraphService.h"
#include "platform/graph/sdl/detail/SdlPresent.h"
#include "platform/graph/WindowBackend.h"
#include "tests/support/OffscreenGraph.h"

namespace {

using namespace graphbench;
using namespace Graph::detail;

// A window backend that shows frames without a window: the benchmark does
// the window thread's part itself.
class BenchWindow final : public Graph::WindowBackend {
public:
    bool Open(const Graph::WindowPlacement&) override { return true; }
    void Run() override {
        while (!stop_.load()) SDL_Delay(5);
    }
    void Stop() override { stop_.store(true); }
    bool ShowsFrames() const override { return true; }

private:
    std::atomic<bool> stop_{false};
};

bool Prepare() {
    static const bool ready = [] {
        if (!std::getenv("DISPLAY")) return false;
        if (!testsupport::OpenGraph(Graph::WindowSystem{[]() -> std::unique_ptr<Graph::WindowBackend> {
                return std::make_unique<BenchWindow>(); }, nullptr}))
            return false;
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    }();
    return ready;
}

// Publishes the heavy frame and presents it at `scale`, as the window thread
// does: changed rows converted into the window surface, then sent.
void PresentAtScale(benchmark::State& state, int scale) {
    if (!Prepare()) {
        state.SkipWithError("no display");
        return;
    }
    int w = 1025, h = 730;
    if (scale > 1) ScaledClientSize(1025, 730, scale, w, h);
    SDL_Window* window = SDL_CreateWindow("Graph", 0, 0, w, h, SDL_WINDOW_SHOWN);
    Service& sv = TheService();
    const std::vector<Request> frame = HeavyFrame();
    uint32_t table[256];
    uint64_t frames = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // The heavy frame and a blue screen by turns: every row changes each time.
        if (frames++ % 2 == 0) {
            for (const Request& r : frame) PostThroughGraph(r);
        } else {
            Graph::Rectangle(0, 0, 1025, 730, 1, true);
        }
        Graph::Sync();
        state.ResumeTiming();
        Graph::PublishFrame();
        SDL_Surface* surface = SDL_GetWindowSurface(window);
        std::lock_guard<std::mutex> lock(sv.windowLock);
        const Layout layout = ComputeLayout(surface->w, surface->h, 1025, 730, scale, false);
        FillColourTable(sv.window.palette, [&](uint8_t r, uint8_t g, uint8_t b) { return SDL_MapRGB(surface->format, r, g, b); },
                        table);
        Canvas canvas{static_cast<uint8_t*>(surface->pixels), surface->pitch, surface->w, surface->h};
        for (const RowBand& b : TakeChangedBands(sv.window, layout.shownH, false))
            ConvertRows(sv.window.pixels, table, layout, canvas, b.y0, b.y1);
        SDL_UpdateWindowSurface(window);
    }
    SDL_DestroyWindow(window);
}

void BM_PublishAndPresent(benchmark::State& state) { PresentAtScale(state, static_cast<int>(state.range(0))); }
BENCHMARK(BM_PublishAndPresent)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
