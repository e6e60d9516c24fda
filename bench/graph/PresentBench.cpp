// Presenting one frame to a window, as the SDL backend does it (copy the
// frame under the window lock, apply the palette into the window's software
// framebuffer, update the window), next to SDL's default renderer with a
// streaming texture. Needs a display (e.g. Xvfb); skips without one.
#include <SDL2/SDL.h>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include "HeavyFrame.h"
#include "platform/graph/GraphProbe.h"
#include "platform/graph/SdlPresent.h"
#include "platform/graph/WindowFrames.h"

namespace {

using namespace graphbench;

bool PrepareFrame() {
    static const bool ready = [] {
        if (!std::getenv("DISPLAY")) return false;
        Graph::ModuleInit();
        if (!Graph::Init(1, 1, 1025, 730)) return false;
        for (const Request& r : HeavyFrame()) PostThroughGraph(r);
        Graph::Sync();
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    }();
    return ready;
}

void BM_PresentSoftwareFramebuffer(benchmark::State& state) {
    if (!PrepareFrame()) {
        state.SkipWithError("no display");
        return;
    }
    SDL_Window* window = SDL_CreateWindow("Graph", 1, 1, 1025, 730, SDL_WINDOW_SHOWN);
    Graph::detail::FramePicker picker;
    Graph::detail::FrameCopy frame;
    for (auto _ : state) {
        picker.Take(frame, true);
        SDL_Surface* surface = SDL_GetWindowSurface(window);
        const auto bands = Graph::detail::ConvertChangedRows(frame, nullptr, surface);
        SDL_UpdateWindowSurfaceRects(window, bands.data(), static_cast<int>(bands.size()));
    }
    SDL_DestroyWindow(window);
}
BENCHMARK(BM_PresentSoftwareFramebuffer)->Unit(benchmark::kMicrosecond)->UseRealTime();

// A typical menu or score change: one text line differs from the frame shown.
void BM_PresentOneChangedLine(benchmark::State& state) {
    if (!PrepareFrame()) {
        state.SkipWithError("no display");
        return;
    }
    SDL_Window* window = SDL_CreateWindow("Graph", 1, 1, 1025, 730, SDL_WINDOW_SHOWN);
    Graph::detail::FramePicker picker;
    Graph::detail::FrameCopy frame, shown;
    picker.Take(shown, true);
    Graph::detail::ConvertFrame(shown, SDL_GetWindowSurface(window));
    SDL_UpdateWindowSurface(window);
    uint32_t score = 0;
    for (auto _ : state) {
        char text[16];
        std::snprintf(text, sizeof text, "SCORE %06u", ++score);
        Graph::RawOutText(20, 700, 14, text);
        Graph::Sync();
        picker.Take(frame, true);
        SDL_Surface* surface = SDL_GetWindowSurface(window);
        const auto bands = Graph::detail::ConvertChangedRows(frame, &shown, surface);
        SDL_UpdateWindowSurfaceRects(window, bands.data(), static_cast<int>(bands.size()));
        std::swap(frame, shown);
    }
    SDL_DestroyWindow(window);
}
BENCHMARK(BM_PresentOneChangedLine)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_PresentDefaultRenderer(benchmark::State& state) {
    if (!PrepareFrame()) {
        state.SkipWithError("no display");
        return;
    }
    SDL_Window* window = SDL_CreateWindow("Graph", 1, 1, 1025, 730, SDL_WINDOW_SHOWN);
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, 0);
    SDL_Texture* texture = renderer ? SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888,
                                                        SDL_TEXTUREACCESS_STREAMING, 1025, 730)
                                    : nullptr;
    if (!texture) {
        state.SkipWithError("no renderer");
        SDL_DestroyWindow(window);
        return;
    }
    Graph::detail::FramePicker picker;
    Graph::detail::FrameCopy frame;
    SDL_Surface* staging = SDL_CreateRGBSurfaceWithFormat(0, 1025, 730, 32, SDL_PIXELFORMAT_ARGB8888);
    for (auto _ : state) {
        picker.Take(frame, true);
        Graph::detail::ConvertFrame(frame, staging);
        SDL_UpdateTexture(texture, nullptr, staging->pixels, staging->pitch);
        SDL_RenderCopy(renderer, texture, nullptr, nullptr);
        SDL_RenderPresent(renderer);
    }
    SDL_FreeSurface(staging);
    SDL_DestroyTexture(texture);
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
}
BENCHMARK(BM_PresentDefaultRenderer)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
