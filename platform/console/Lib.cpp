// Lib: the millisecond delay and the library's additive random generator
// (55 words, lags 55 and 24), seeded from the clock.
#include <array>

#include "platform/console/Clock.h"
#include "platform/console/Lib.h"
#include "platform/console/SysClock.h"

namespace Lib {
namespace {

constexpr std::size_t kTableSize = 55;
constexpr CARDINAL kSeedMultiplier = 3141592621u;  // 0BB40E62DH
constexpr CARDINAL kSeedIncrement = 17;
constexpr CARDINAL kDefaultSeed = 12345;
constexpr CARDINAL kFirstI = 54;
constexpr CARDINAL kFirstJ = 23;

struct Generator {
    std::array<CARDINAL, kTableSize> table{};
    CARDINAL i = 0;  // i = j = 0: not seeded yet
    CARDINAL j = 0;
};
Generator gen;

// Fills the table from a linear congruential sequence (upper 16 bits of
// each step); unsigned arithmetic gives the modulo 2^32.
void Seed(CARDINAL s) {
    CARDINAL x = s;
    for (std::size_t k = 0; k < kTableSize; ++k) {
        x = x * kSeedMultiplier + kSeedIncrement;
        gen.table[k] = x >> 16;
    }
    gen.i = kFirstI;
    gen.j = kFirstJ;
}

CARDINAL StepDown(CARDINAL index) { return index == 0 ? CARDINAL(kTableSize - 1) : index - 1; }

}  // namespace

void ModuleInit() { gen = Generator{}; }

void Delay(CARDINAL ms) { Clock::SleepUs(uint64_t(ms) * 1000u); }

CARDINAL RANDOM(CARDINAL range) {
    if (gen.i == 0 && gen.j == 0) {
        // Never seeded: seed now and draw at the fresh indices unstepped.
        Seed(kDefaultSeed);
    } else {
        gen.i = StepDown(gen.i);
        gen.j = StepDown(gen.j);
    }
    gen.table[gen.i] += gen.table[gen.j];
    CARDINAL r = gen.table[gen.i];
    return range == 0 ? r : r % range;
}

LONGREAL RAND() {
    CARDINAL a = RANDOM(0);
    CARDINAL b = RANDOM(0);
    CARDINAL v = (b & 0xFFFFu) * 65536u + (a & 0xFFFFu);
    return LONGREAL(v) / 4294967296.0;
}

void RANDOMIZE() {
    SysClock::DateTime now{};
    SysClock::GetClock(now);
    Seed(now.fractions * now.second);
}

}  // namespace Lib
