// StandardLib: the program's utilities: the arrow-key reader and the
// program's own deterministic random numbers.
#pragma once
#include "platform/Types.h"

namespace StandardLib {

extern BOOLEAN gPseudoRandom;

// Seeds the library generator from the clock and the own generator with 94.
void ModuleInit();

// The codes RdArrowKey returns.
inline constexpr CARDINAL ArrowUp = 0;
inline constexpr CARDINAL ArrowRight = 1;
inline constexpr CARDINAL ArrowDown = 2;
inline constexpr CARDINAL ArrowLeft = 3;
inline constexpr CARDINAL ArrowOther = 4;  // any other key
inline constexpr CARDINAL ArrowSpace = 5;

// Reads one key: ArrowUp, ArrowRight, ArrowDown, ArrowLeft, ArrowSpace or
// ArrowOther.
CARDINAL RdArrowKey();
CARDINAL RandomCard(CARDINAL min, CARDINAL max);
CARDINAL PseudoRandomCardGenerator();

}  // namespace StandardLib
