// Engine figures: solids drawn per second through the graphics service, the
// engine's own share of that work (projection and clipping of the twelve
// edges without posting), turns of a solid, and one pass over the star field.
#include <benchmark/benchmark.h>

#include "engine3d/QX3D.h"
#include "game/GameState.h"
#include "game/Sterren.h"
#include "platform/console/Lib.h"
#include "platform/graph/Graph.h"
#include "platform/graph/GraphProbe.h"
#include "tests/support/OffscreenGraph.h"

using namespace QX3D;

namespace {

void OpenWindow() {
    testsupport::OffscreenGraphForProcess();
    Init3D(1025, 730, 60);
}

// A box like the game's enemies and title blocks: partly left of the screen,
// so some edges are clipped.
Polyhedron Proefbalk() {
    Polyhedron p = MaakBalk({-30, 10, 120}, 80, 40, 60, LIGHTGREEN);
    DraaiPolyhedronRondAs(p, 25, {1, 1, 0}, {-30, 10, 120});
    return p;
}

constexpr int Ribben[12][2] = {{0, 1}, {0, 3}, {1, 2}, {2, 3}, {4, 5}, {4, 7},
                               {5, 6}, {6, 7}, {0, 4}, {1, 5}, {3, 7}, {2, 6}};

void BM_TekenPolyhedron(benchmark::State& state) {
    OpenWindow();
    const Polyhedron p = Proefbalk();
    for (auto _ : state) {
        TekenPolyhedron(p);
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel("solids through Graph");
}
BENCHMARK(BM_TekenPolyhedron)->UseRealTime();

void BM_ProjectieEnClipping(benchmark::State& state) {
    OpenWindow();
    const Polyhedron p = Proefbalk();
    for (auto _ : state) {
        INTEGER x[8], y[8];
        for (int i = 0; i < 8; ++i) {
            x[i] = ProjectieX(p.hoek[i]);
            y[i] = ProjectieY(p.hoek[i]);
        }
        for (const auto& r : Ribben) {
            INTEGER x1 = x[r[0]], y1 = y[r[0]], x2 = x[r[1]], y2 = y[r[1]];
            TestLijn(x1, y1, x2, y2);
            benchmark::DoNotOptimize(x1 + y1 + x2 + y2);
        }
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel("solids, engine only");
}
BENCHMARK(BM_ProjectieEnClipping);

void BM_DraaiPolyhedron(benchmark::State& state) {
    Polyhedron p = Proefbalk();
    for (auto _ : state) {
        DraaiPolyhedronRondAs(p, 1.5f, {0.3f, 1, 0.2f}, {0, 0, 120});
        benchmark::DoNotOptimize(p);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DraaiPolyhedron);

void BM_TekenSterren(benchmark::State& state) {
    OpenWindow();
    Lib::ModuleInit();
    KYR12::InitSterren();
    for (auto _ : state) {
        KYR12::TekenSterren();
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel("calls (201 stars each)");
}
BENCHMARK(BM_TekenSterren)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
