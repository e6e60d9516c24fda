// How soon a key typed into the terminal reaches the program while IO.RdKey
// waits: bytes written to a pseudo-terminal that is the program's standard
// input, read and decoded by the terminal's reader thread, posted, and the
// program's wait woken. With the SDL window open (needs a display) the wait
// is the window's event pump; without one, the plain pump. Reports the
// median and the 90th percentile of 100 keys.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <pty.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "platform/console/ConsoleInput.h"
#include "platform/console/IO.h"
#include "platform/sdl/SdlWindow.h"
#include "tests/support/OffscreenGraph.h"

namespace {

using SteadyClock = std::chrono::steady_clock;

// The terminal whose other end this benchmark types into; opened once.
int TerminalForStandardInput() {
    static const int master = [] {
        int m = -1, s = -1;
        if (openpty(&m, &s, nullptr, nullptr, nullptr) != 0) return -1;
        dup2(s, STDIN_FILENO);
        close(s);
        return IO::StartConsoleInput() ? m : -1;
    }();
    return master;
}

void TypeAndRead(benchmark::State& state, int master) {
    constexpr int kKeys = 100;
    std::vector<double> latenciesUs;
    for (auto _ : state) {
        latenciesUs.clear();
        for (int k = 0; k < kKeys; ++k) {
            std::atomic<int64_t> typedAt{0};
            std::thread typist([&] {
                std::this_thread::sleep_for(std::chrono::milliseconds(3));   // RdKey is waiting by now
                typedAt = SteadyClock::now().time_since_epoch().count();
                (void)!write(master, "a", 1);
            });
            const uint8_t c = IO::RdKey();
            const int64_t readAt = SteadyClock::now().time_since_epoch().count();
            typist.join();
            benchmark::DoNotOptimize(c);
            latenciesUs.push_back(static_cast<double>(readAt - typedAt.load()) / 1000.0);
        }
    }
    std::sort(latenciesUs.begin(), latenciesUs.end());
    state.counters["median_us"] = latenciesUs[latenciesUs.size() / 2];
    state.counters["p90_us"] = latenciesUs[latenciesUs.size() * 9 / 10];
}

void BM_TerminalKeyWakesRdKey_NoWindow(benchmark::State& state) {
    const int master = TerminalForStandardInput();
    if (master < 0) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    IO::ModuleInit();
    TypeAndRead(state, master);
}
BENCHMARK(BM_TerminalKeyWakesRdKey_NoWindow)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_TerminalKeyWakesRdKey_SdlWindow(benchmark::State& state) {
    const int master = TerminalForStandardInput();
    if (master < 0 || !std::getenv("DISPLAY")) {
        state.SkipWithError("no pseudo-terminal or no display");
        return;
    }
    Graph::SdlWindowOptions options;
    options.renderer = Graph::SdlWindowOptions::Renderer::Software;
    if (!testsupport::OpenGraph(Graph::SdlWindowSystem(options))) {
        state.SkipWithError("the window did not open");
        return;
    }
    IO::ModuleInit();
    TypeAndRead(state, master);
    testsupport::CloseGraph();
}
BENCHMARK(BM_TerminalKeyWakesRdKey_SdlWindow)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
