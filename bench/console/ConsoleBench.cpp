// Throughput of key decoding, the input queue with IO.RdKey, the library
// generator and number text.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "platform/console/IO.h"
#include "platform/console/Lib.h"
#include "platform/console/WholeStr.h"
#include "platform/console/InputQueue.h"
#include "platform/console/KeyDecoder.h"
#include "tests/support/Keys.h"

namespace {

// A mix of what a player types: arrows, modified arrows, space and letters.
const std::string kTyping = "\x1b[A\x1b[B \x1b[1;5Cq\x1bOD\x1b[5~a\r";

void BM_DecodeTypicalKeys(benchmark::State& state) {
    IO::KeyDecoder decoder;
    std::vector<IO::KeyRecord> out;
    out.reserve(64);
    const auto* bytes = reinterpret_cast<const uint8_t*>(kTyping.data());
    for (auto _ : state) {
        decoder.Feed(bytes, kTyping.size(), out);
        benchmark::DoNotOptimize(out.data());
        out.clear();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kTyping.size()));
}
BENCHMARK(BM_DecodeTypicalKeys);

void BM_PostAndReadArrowKey(benchmark::State& state) {
    IO::ModuleInit();
    IO::ClearInput();
    const IO::KeyRecord up = testsupport::KeyDown("UP");
    for (auto _ : state) {
        testsupport::PostKey(up);
        benchmark::DoNotOptimize(IO::KeyPressed());
        benchmark::DoNotOptimize(IO::RdKey());
        benchmark::DoNotOptimize(IO::RdKey());
    }
}
BENCHMARK(BM_PostAndReadArrowKey);

void BM_Rand(benchmark::State& state) {
    Lib::ModuleInit();
    for (auto _ : state) benchmark::DoNotOptimize(Lib::RAND());
}
BENCHMARK(BM_Rand);

void BM_IntToStr(benchmark::State& state) {
    CHAR text[12];
    INTEGER i = -2147483647;
    for (auto _ : state) {
        WholeStr::IntToStr(i, text);
        benchmark::DoNotOptimize(text);
        i += 7919;
    }
}
BENCHMARK(BM_IntToStr);

}  // namespace
