// Rasteriser throughput on a 1025 x 730 8-bit surface, beside SDL2's own
// software renderer drawing the same primitives into an 8-bit SDL surface and
// a plain memset of the surface. Figures only; nothing here asserts a time.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "platform/graph/raster/Raster.h"

namespace {

constexpr int kWidth = 1025, kHeight = 730;
constexpr int kBatch = 64;  // primitives per benchmark iteration

struct Segment {
    int x1, y1, x2, y2;
};

// kBatch segments of the given length at evenly spread angles, all on the
// surface, so that both renderers do the same clipping-free work.
std::vector<Segment> Segments(int length) {
    std::vector<Segment> out;
    for (int i = 0; i < kBatch; ++i) {
        const double angle = 2.0 * M_PI * i / kBatch;
        const int cx = 320 + (i * 37) % 380, cy = 320 + (i * 53) % 80;
        out.push_back({cx, cy, cx + static_cast<int>(std::lround(length * std::cos(angle))),
                       cy + static_cast<int>(std::lround(length * std::sin(angle)))});
    }
    return out;
}

// Rows packed at the width, or spaced at the preferred pitch.
struct OurSurface {
    int32_t pitch;
    std::vector<uint8_t> pixels;
    Raster::Surface surface;
    explicit OurSurface(int32_t rowPitch = kWidth)
        : pitch(rowPitch), pixels(static_cast<size_t>(rowPitch) * kHeight), surface{pixels.data(), kWidth, kHeight, rowPitch} {}
};

// SDL's software renderer on an 8-bit palette surface.
// With a pitch given, SDL draws into our own pixel buffer with that pitch;
// without, SDL chooses (1028 for this width).
struct SdlTarget {
    std::vector<uint8_t> pixels;
    SDL_Surface* surface = nullptr;
    SDL_Renderer* renderer = nullptr;
    explicit SdlTarget(int pitch = 0) {
        if (pitch > 0) {
            pixels.resize(static_cast<size_t>(pitch) * kHeight);
            surface = SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), kWidth, kHeight, 8, pitch,
                                                         SDL_PIXELFORMAT_INDEX8);
        } else {
            surface = SDL_CreateRGBSurfaceWithFormat(0, kWidth, kHeight, 8, SDL_PIXELFORMAT_INDEX8);
        }
        SDL_Color colours[16] = {};
        for (int i = 0; i < 16; ++i) colours[i] = SDL_Color{Uint8(i * 16), Uint8(255 - i * 16), Uint8(i * 8), 255};
        SDL_SetPaletteColors(surface->format->palette, colours, 0, 16);
        renderer = SDL_CreateSoftwareRenderer(surface);
        SDL_SetRenderDrawColor(renderer, 16 * 7, 255 - 16 * 7, 56, 255);
    }
    ~SdlTarget() {
        SDL_DestroyRenderer(renderer);
        SDL_FreeSurface(surface);
    }
};

void OurLines(benchmark::State& state) {
    OurSurface s(state.range(1) ? Raster::PreferredPitch(kWidth) : kWidth);
    const auto segments = Segments(static_cast<int>(state.range(0)));
    Raster::Pen pen;
    pen.colour = 7;
    for (auto _ : state) {
        for (const Segment& g : segments) Raster::DrawLine(s.surface, g.x1, g.y1, g.x2, g.y2, pen);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
}
// Second argument: 0 = pitch 1025, 1 = the preferred pitch.
BENCHMARK(OurLines)->ArgsProduct({{10, 100, 300}, {0, 1}});

void SdlLines(benchmark::State& state) {
    SdlTarget t(state.range(1) ? Raster::PreferredPitch(kWidth) : 0);
    const auto segments = Segments(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        for (const Segment& g : segments) SDL_RenderDrawLine(t.renderer, g.x1, g.y1, g.x2, g.y2);
        SDL_RenderFlush(t.renderer);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
}
// Second argument: 0 = SDL's own pitch, 1 = our preferred pitch.
BENCHMARK(SdlLines)->ArgsProduct({{10, 100, 300}, {0, 1}});

// 2 x 2 filled boxes, which paint one pixel each without a pen; SDL is given
// the same one-pixel rectangles.
void OurSmallFills(benchmark::State& state) {
    OurSurface s;
    Raster::Brush brush;
    brush.colour = 7;
    for (auto _ : state) {
        for (int i = 0; i < kBatch; ++i) {
            const int x = (i * 151) % 1000, y = (i * 97) % 700;
            Raster::FillRect(s.surface, x, y, x + 2, y + 2, brush);
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
}
BENCHMARK(OurSmallFills);

void SdlSmallFills(benchmark::State& state) {
    SdlTarget t;
    for (auto _ : state) {
        for (int i = 0; i < kBatch; ++i) {
            const SDL_Rect r{(i * 151) % 1000, (i * 97) % 700, 1, 1};
            SDL_RenderFillRect(t.renderer, &r);
        }
        SDL_RenderFlush(t.renderer);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
}
BENCHMARK(SdlSmallFills);

void OurClear(benchmark::State& state) {
    OurSurface s;
    for (auto _ : state) {
        Raster::Clear(s.surface, 0);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(OurClear);

// The program clears with a filled rectangle over the whole window.
void OurWholeWindowFill(benchmark::State& state) {
    OurSurface s;
    Raster::Brush brush;
    for (auto _ : state) {
        Raster::FillRect(s.surface, 0, 0, kWidth, kHeight, brush);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(OurWholeWindowFill);

void SdlClear(benchmark::State& state) {
    SdlTarget t;
    for (auto _ : state) {
        SDL_RenderClear(t.renderer);
        SDL_RenderFlush(t.renderer);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(SdlClear);

void PlainMemset(benchmark::State& state) {
    OurSurface s;  // a packed surface: one memset of all its bytes
    for (auto _ : state) {
        std::memset(s.pixels.data(), 0, s.pixels.size());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(PlainMemset);

// A line with one end two billion pixels away: clipping cost only.
void OurFarOffLine(benchmark::State& state) {
    OurSurface s;
    Raster::Pen pen;
    pen.colour = 7;
    for (auto _ : state) {
        Raster::DrawLine(s.surface, 2000000000, 5, 3, 700, pen);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(OurFarOffLine);

}  // namespace

BENCHMARK_MAIN();
