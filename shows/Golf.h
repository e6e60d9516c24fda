// The sine wave shared by the wave text and the rippling blocks of the demonstration.
#pragma once
#include <cmath>
#include "platform/Types.h"

namespace KYR12 {

inline constexpr REAL piReal = 3.1415927f;    // the float nearest to pi

// sin(stap * 180 / pi), the argument in radians. The step is multiplied by
// 180/pi rather than pi/180 on purpose: that puts successive steps 0.7471
// radians apart (about 8.4 steps per wave length), which is the look of every
// wave in the sequences. Only pi is a REAL: the quotient and the sine are
// carried in double precision (a REAL argument would be up to 0.002 radians
// off at the phases the sequences reach, putting characters a row off).
inline LONGREAL GolfSinus(CARDINAL stap) {
    return std::sin(LONGREAL(stap) * 180 / LONGREAL(piReal));
}

}  // namespace KYR12
