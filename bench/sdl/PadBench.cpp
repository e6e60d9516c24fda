// A virtual game controller in the SDL window (needs a display, Xvfb will
// do): how soon a press of its A button comes out of IO.RdKey as SPACE
// (median and 90th percentile of 100 presses), and what the idle window's
// waits cost with an idle controller connected and with none (CPU of this
// process while it pumps for 3 s, in percent of a core).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <thread>
#include <vector>

#include "platform/console/IO.h"
#include "platform/console/InputQueue.h"
#include "platform/console/Waits.h"
#include "platform/sdl/SdlWindow.h"
#include "tests/support/OffscreenGraph.h"
#include "tests/support/VirtualPad.h"

namespace {

using SteadyClock = std::chrono::steady_clock;

bool OpenWindow(benchmark::State& state) {
    if (!std::getenv("DISPLAY")) {
        state.SkipWithError("no display");
        return false;
    }
    Graph::SdlWindowOptions options;
    options.renderer = Graph::SdlWindowOptions::Renderer::Software;
    if (!testsupport::OpenGraph(Graph::SdlWindowSystem(options))) {
        state.SkipWithError("the window did not open");
        return false;
    }
    IO::ModuleInit();
    return true;
}

// Pumps until the window has taken the pad as its controller.
bool TakePad(testsupport::VirtualPad& pad) {
    if (!pad.PlugIn()) return false;
    for (int k = 0; k < 500 && !pad.TakenAsController(); ++k) Waits::Pump(10);
    return pad.TakenAsController();
}

double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

void BM_PadPressReachesRdKey(benchmark::State& state) {
    if (!OpenWindow(state)) return;
    {
        testsupport::VirtualPad pad;
        if (!TakePad(pad)) {
            state.SkipWithError("no virtual controller");
            testsupport::CloseGraph();
            return;
        }
        constexpr int kPresses = 100;
        std::vector<double> latenciesUs;
        for (auto _ : state) {
            latenciesUs.clear();
            for (int k = 0; k < kPresses; ++k) {
                std::atomic<int64_t> pressedAt{0};
                std::thread thumb([&] {
                    std::this_thread::sleep_for(std::chrono::milliseconds(3));   // RdKey is waiting by now
                    pressedAt = SteadyClock::now().time_since_epoch().count();
                    pad.Button(SDL_CONTROLLER_BUTTON_A, true);
                });
                const uint8_t c = IO::RdKey();
                const int64_t readAt = SteadyClock::now().time_since_epoch().count();
                thumb.join();
                benchmark::DoNotOptimize(c);
                latenciesUs.push_back(static_cast<double>(readAt - pressedAt.load()) / 1000.0);
                pad.Button(SDL_CONTROLLER_BUTTON_A, false);
                for (int p = 0; p < 3; ++p) Waits::Pump(5);   // the release, before the next press
                IO::ClearInput();
            }
        }
        std::sort(latenciesUs.begin(), latenciesUs.end());
        state.counters["median_us"] = latenciesUs[latenciesUs.size() / 2];
        state.counters["p90_us"] = latenciesUs[latenciesUs.size() * 9 / 10];
    }
    testsupport::CloseGraph();
}
BENCHMARK(BM_PadPressReachesRdKey)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The idle menu's waits: pumps of at most 100 ms, nothing happening.
void IdleWaits(benchmark::State& state) {
    constexpr double kSpanS = 3.0;
    for (auto _ : state) {
        const double cpu0 = ProcessCpuSeconds();
        const auto end = SteadyClock::now() + std::chrono::duration<double>(kSpanS);
        while (SteadyClock::now() < end) Waits::Pump(Waits::kMaxPumpMs);
        state.counters["cpu_percent"] = 100.0 * (ProcessCpuSeconds() - cpu0) / kSpanS;
    }
}

void BM_IdleWaits_NoController(benchmark::State& state) {
    if (!OpenWindow(state)) return;
    IdleWaits(state);
    testsupport::CloseGraph();
}
BENCHMARK(BM_IdleWaits_NoController)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_IdleWaits_IdleController(benchmark::State& state) {
    if (!OpenWindow(state)) return;
    {
        testsupport::VirtualPad pad;
        if (!TakePad(pad)) {
            state.SkipWithError("no virtual controller");
        } else {
            IdleWaits(state);
        }
    }
    testsupport::CloseGraph();
}
BENCHMARK(BM_IdleWaits_IdleController)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
