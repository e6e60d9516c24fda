// The game's costs: one heavy frame (level 8, speed 0.25, a shot every frame,
// all 97 enemies of the level alive) drawn through Graph, the
// same frame's simulation alone, and a whole level-1 game on a virtual clock.
#include <benchmark/benchmark.h>

#include <algorithm>

#include "engine3d/QX3D.h"
#include "game/Game.h"
#include "game/GameState.h"
#include "platform/console/Clock.h"
#include "platform/console/IO.h"
#include "platform/console/Lib.h"
#include "platform/console/InputQueue.h"
#include "platform/graph/Graph.h"
#include "platform/graph/GraphProbe.h"
#include "shell/StandardLib.h"
#include "tests/support/FakeClock.h"
#include "tests/support/Keys.h"
#include "tests/support/OffscreenGraph.h"
#include "tests/support/TraceRecorder.h"

namespace {

using namespace KYR12;

// Waits take no time.
testsupport::FakeClock clock;

void StartProgram() {
    static bool started = false;
    if (started) return;
    started = true;
    clock.now = 1'000'000;
    clock.wall = {2026, 12, 7, 5, 0, 17, 430, 0, true, false};
    Clock::Use(clock);
    testsupport::OffscreenGraphForProcess();
    QX3D::Init3D(1025, 730, 60.0f);
    IO::ModuleInit();
    Lib::ModuleInit();
    StandardLib::ModuleInit();
    ResetGameState();
}

constexpr CARDINAL VijandenLevel8 = 97;
constexpr CARDINAL KogelsInVlucht = 64;    // 800 / 12.5: one shot per frame at speed 0.25
constexpr CARDINAL VijandKogels = 48;

// Every enemy of level 8 alive, spread in depth from near to far and in
// angle over the play area but away from the crosshair, firing at staggered
// frames; player and enemy bullets in flight along their whole ranges.
void ZwareToestand() {
    level = 8;
    Snelheid = 0.25f;
    Initialize();
    for (CARDINAL i = 1; i <= VijandenLevel8; ++i) {
        MakeVijand(i);
        VijandRc& v = VijandAr[i];
        const REAL z = 1200.0f - 11.0f * static_cast<REAL>(i);
        const REAL hoekX = (i % 2 == 1 ? 1.0f : -1.0f) * (0.02f + 0.04f * static_cast<REAL>(i % 10));
        const REAL hoekY = (i % 3 == 1 ? 1.0f : -1.0f) * 0.05f * static_cast<REAL>(i % 8);
        v.vectV = QX3D::MaakVector(hoekX * z, hoekY * z, z);
        v.kogeltimer = (i * 7) % 200;
    }
    CNTVijand = VijandenLevel8;
    for (CARDINAL k = 1; k <= KogelsInVlucht; ++k) {
        MakeKogelA();
        KogelAAr[k].vectB.z = 1.0f + 12.5f * static_cast<REAL>(k);
    }
    for (CARDINAL k = 1; k <= VijandKogels; ++k) {
        MakeKogelV(VijandAr[k].vectV);
        KogelVAr[k].vectB.z = std::max(10.0f, VijandAr[k].vectV.z * static_cast<REAL>(k) / 60.0f);
    }
    TimerVijand = 1;   // past the spawn frame
}

// SIM's steps without the drawing.
void RekenFrame() {
    VijandLoop();
    KogelALoop();
    KogelVLoop();
    CheckV();
    CheckA();
    TimerVijand += 1;
}

constexpr int FramesPerToestand = 32;

// Drawing requests posted by one heavy frame, counted from Graph's trace.
double RequestsPerFrame() {
    ZwareToestand();
    testsupport::TraceRecorder trace;
    MakeKogelA();
    SIM();
    KortMENU();
    Leven();
    return static_cast<double>(trace.Stop().size());
}

void HeavyFrame(benchmark::State& state) {
    StartProgram();
    const double requests = RequestsPerFrame();
    int n = 0;
    for (auto _ : state) {
        if (n++ % FramesPerToestand == 0) {
            state.PauseTiming();
            ZwareToestand();
            state.ResumeTiming();
        }
        MakeKogelA();
        SIM();
        KortMENU();
        Leven();
    }
    state.counters["enemies"] = static_cast<double>(CNTVijand);
    state.counters["requests"] = requests;
}
BENCHMARK(HeavyFrame)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void HeavyFrameSimulationOnly(benchmark::State& state) {
    StartProgram();
    int n = 0;
    for (auto _ : state) {
        if (n++ % FramesPerToestand == 0) {
            state.PauseTiming();
            ZwareToestand();
            state.ResumeTiming();
        }
        MakeKogelA();
        RekenFrame();
    }
}
BENCHMARK(HeavyFrameSimulationOnly)->Unit(benchmark::kMicrosecond);

// A level-1 game at speed 0 without keys: it runs until the last life is
// lost (explosion and outro included) or, should the player survive level 1,
// until level 2 is announced, where a quit key ends it.
void WholeLevelOneGame(benchmark::State& state) {
    StartProgram();
    clock.afterWait = [](uint64_t from, uint64_t deadline) {
        if (deadline - from == 1'500'000 && level == 2) testsupport::PostKeyDown("q");
    };
    for (auto _ : state) {
        state.PauseTiming();
        IO::ClearInput();
        StandardLib::ModuleInit();
        level = 1;
        Snelheid = 0.0f;
        state.ResumeTiming();
        SPEL();
        state.counters["frames"] = static_cast<double>(TimerVijand);
        state.counters["reached_level"] = static_cast<double>(level);
    }
    clock.afterWait = nullptr;
}
BENCHMARK(WholeLevelOneGame)->Unit(benchmark::kSecond)->MeasureProcessCPUTime()->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
