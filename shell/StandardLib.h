// StandardLib: the program's utilities: the arrow-key reader and the
// program's own deterministic random numbers.
#pragma once
#include "platform/Types.h"

namespace StandardLib {

extern BOOLEAN gPseudoRandom;

// Seeds the library generator from the clock and the own generator with 94.
void ModuleInit();

// 0 UP, 1 RIGHT, 2 DOWN, 3 LEFT, 4 any other key, 5 SPACE.
CARDINAL RdArrowKey();
CARDINAL RandomCard(CARDINAL min, CARDINAL max);
CARDINAL PseudoRandomCardGenerator();

}  // namespace StandardLib
