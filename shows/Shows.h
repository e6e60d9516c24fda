// The presentation sequences: intro, wave text, credits, outro and the 3D engine demonstration.
// None of them reads the keyboard; each runs a fixed number of frames paced by Lib.Delay.
#pragma once
#include <cstddef>
#include "platform/Types.h"

namespace KYR12 {

void Intro();
void Credits();
void Outro();
void Demo();

// Writes `tekst` (every element of the array, the terminating zero included)
// one character every 11 pixels, each raised or lowered on a sine wave.
void SinTextUit(CARDINAL x, CARDINAL y, CARDINAL kleur, const CHAR* tekst, std::size_t lengte,
                CARDINAL amplitude, CARDINAL fase);
template <std::size_t N>
inline void SinText(CARDINAL x, CARDINAL y, CARDINAL kleur, const CHAR (&tekst)[N], CARDINAL amplitude,
                    CARDINAL fase) {
    SinTextUit(x, y, kleur, tekst, N, amplitude, fase);
}

}  // namespace KYR12
