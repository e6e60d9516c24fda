// IO: keyboard input from the console's input queue and plain text output to
// the console. Lib: delay and the library random generator. SysClock: local
// date and time. WholeStr: whole numbers as decimal text.
#pragma once
#include <cstddef>
#include "platform/Types.h"

namespace IO {

void ModuleInit();                 // clears the pending character
BOOLEAN KeyPressed();              // never blocks (a polling loop yields ~1 ms through the clock)
uint8_t RdKey();                   // blocks until a key is available
void RdLn();                       // returns at once
void WrStr(const CHAR* s, std::size_t capacity);
template <std::size_t N>
inline void WrStr(const CHAR (&s)[N]) { WrStr(s, N); }
void WrLn();
void WrCard(CARDINAL c, INTEGER width);

}  // namespace IO

namespace Lib {

void ModuleInit();                 // unseeded: i = j = 0
void Delay(CARDINAL ms);
CARDINAL RANDOM(CARDINAL range);
LONGREAL RAND();                   // in [0, 1), with double precision
void RANDOMIZE();

}  // namespace Lib

namespace SysClock {

struct DateTime {
    CARDINAL year;
    CARDINAL month;
    CARDINAL day;
    CARDINAL hour;
    CARDINAL minute;
    CARDINAL second;
    CARDINAL fractions;     // hundredths of a second
    INTEGER zone;           // bias in minutes: UTC = local time + bias
    BOOLEAN SummerTimeFlag;
};

void GetClock(DateTime& dt);

}  // namespace SysClock

namespace WholeStr {

void CardToStr(CARDINAL c, CHAR* s, std::size_t capacity);
void IntToStr(INTEGER i, CHAR* s, std::size_t capacity);
template <std::size_t N>
inline void CardToStr(CARDINAL c, CHAR (&s)[N]) { CardToStr(c, s, N); }
template <std::size_t N>
inline void IntToStr(INTEGER i, CHAR (&s)[N]) { IntToStr(i, s, N); }

}  // namespace WholeStr
