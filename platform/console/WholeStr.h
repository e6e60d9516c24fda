// WholeStr: whole numbers as decimal text.
#pragma once
#include <cstddef>
#include "platform/Types.h"

namespace WholeStr {

void CardToStr(CARDINAL c, CHAR* s, std::size_t capacity);
void IntToStr(INTEGER i, CHAR* s, std::size_t capacity);
template <std::size_t N>
inline void CardToStr(CARDINAL c, CHAR (&s)[N]) { CardToStr(c, s, N); }
template <std::size_t N>
inline void IntToStr(INTEGER i, CHAR (&s)[N]) { IntToStr(i, s, N); }

}  // namespace WholeStr
