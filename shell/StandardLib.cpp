// StandardLib: the arrow-key reader and the program's own random numbers.
//
// The own generator is a tiny congruential map modulo the prime 1013 with a
// constant seed, so every run of the program draws the same sequence of
// enemies and enemy fire.
#include "shell/StandardLib.h"

#include "platform/console/IO.h"
#include "platform/console/Lib.h"

namespace StandardLib {

BOOLEAN gPseudoRandom = true;

namespace {

// The last value the own generator returned, 0..1012.
CARDINAL gSeed = 94;

constexpr CARDINAL kModulus = 1013;
constexpr CARDINAL kMultiplier = 351;
constexpr CARDINAL kIncrement = 138;
// The own generator's values run 0..1012: r / 1012 spans [0, 1].
constexpr double kGeneratorTop = 1012.0;
// Just under one, so that (max - min + 0.99999) * r / 1012 stays below
// max - min + 1 for r = 1012. Kept as the float it always was.
constexpr float kAlmostOne = 0.99999f;

// Second halves of two-part key codes that RdArrowKey understands: the codes
// IO.RdKey gives for the arrow keys, whichever source made the record (the
// keypad's arrows give the same ones), so they are RdKey's numbers here and
// not looked up in the keyboard table.
constexpr uint8_t kScanUp = 0x48;
constexpr uint8_t kScanRight = 0x4D;
constexpr uint8_t kScanDown = 0x50;
constexpr uint8_t kScanLeft = 0x4B;
constexpr uint8_t kBlank = 0x20;

// Code of the second character of a two-part key.
CARDINAL CodeOfSecondHalf(uint8_t x) {
    switch (x) {
        case kScanUp: return ArrowUp;
        case kScanRight: return ArrowRight;
        case kScanDown: return ArrowDown;
        case kScanLeft: return ArrowLeft;
        case kBlank: return ArrowSpace;
        default: return ArrowOther;
    }
}

void WriteRangeError(CARDINAL min, CARDINAL max) {
    IO::WrStr("ERROR calling RandomCardFromInterval: min ");
    IO::WrCard(min, 0);
    IO::WrStr(" is bigger than max ");
    IO::WrCard(max, 0);
    IO::WrLn();
}

}  // namespace

void ModuleInit() {
    Lib::RANDOMIZE();
    gPseudoRandom = true;
    gSeed = 94;
}

CARDINAL RdArrowKey() {
    uint8_t x = IO::RdKey();
    if (x != 0) return x == kBlank ? ArrowSpace : ArrowOther;
    // A key without a character: its code follows as the next character.
    // After a lone 0 (Alt with a letter) this reads the next key's first
    // character instead, which is what the console always did.
    return CodeOfSecondHalf(IO::RdKey());
}

CARDINAL PseudoRandomCardGenerator() {
    CARDINAL next = (gSeed * kMultiplier + kIncrement) % kModulus;
    // 509 maps onto itself; step off the fixed point so the sequence goes on.
    if (next == gSeed) next = next + 1;
    gSeed = next;
    return next;
}

CARDINAL RandomCard(CARDINAL min, CARDINAL max) {
    if (max < min) {
        WriteRangeError(min, max);
        return min;
    }
    if (gPseudoRandom) {
        // Sum and quotient in double; the product is rounded to double before
        // it is truncated, exactly as the values were always drawn.
        double q = (static_cast<double>(max - min) + static_cast<double>(kAlmostOne)) / kGeneratorTop;
        double r = static_cast<double>(PseudoRandomCardGenerator());
        double product = q * r;
        return min + static_cast<CARDINAL>(product);
    }
    // The library path. The whole CARDINAL range holds 2^32 values, one more
    // than a CARDINAL can count: a range of 0 asks Lib.RANDOM for all 32 bits
    // instead of dividing by zero.
    CARDINAL span = max - min;
    CARDINAL range = span == 0xFFFFFFFFu ? 0 : span + 1;
    return min + Lib::RANDOM(range);
}

}  // namespace StandardLib
