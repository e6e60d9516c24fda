// Lib: the delay and the library random generator.
#pragma once
#include "platform/Types.h"

namespace Lib {

void ModuleInit();                 // unseeded: i = j = 0
void Delay(CARDINAL ms);
CARDINAL RANDOM(CARDINAL range);
LONGREAL RAND();                   // in [0, 1), with double precision
void RANDOMIZE();

}  // namespace Lib
