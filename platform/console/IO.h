// IO: keyboard input from the console's input queue and plain text output to
// the console.
#pragma once
#include <cstddef>
#include "platform/Types.h"

namespace IO {

void ModuleInit();                 // clears the pending character; the next key poll is number 1
// Each call of KeyPressed and RdKey is one key poll (see InputQueue.h).
BOOLEAN KeyPressed();              // never blocks long (a polling loop waits for input, 0.1 s at most)
uint8_t RdKey();                   // blocks until a key is available
void RdLn();                       // returns at once
void WrStr(const CHAR* s, std::size_t capacity);
template <std::size_t N>
inline void WrStr(const CHAR (&s)[N]) { WrStr(s, N); }
void WrLn();
void WrCard(CARDINAL c, INTEGER width);

}  // namespace IO

