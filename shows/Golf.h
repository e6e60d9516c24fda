// The sine wave shared by the wave text and the rippling blocks of the demonstration.
#pragma once
#include <cmath>
#include "platform/Types.h"

namespace KYR12 {

inline constexpr REAL piReal = 3.1415927f;    // the float nearest to pi

// sin(stap * 180 / pi), the argument in radians and every step rounded to a
// REAL. The step is multiplied by 180/pi rather than pi/180 on purpose: that
// puts successive steps 0.7471 radians apart (about 8.4 steps per wave
// length), which is the look of every wave in the sequences.
inline REAL GolfSinus(CARDINAL stap) {
    const REAL hoek = static_cast<REAL>(stap) * 180.0f / piReal;
    return std::sin(hoek);
}

}  // namespace KYR12
