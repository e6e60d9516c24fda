// Geometry of the three title glyphs: per block the four (x, y) pairs of its
// corner pairs 0/1, 2/3, 4/5 and 6/7 in model units. Every block is a prism
// 100 units deep; the glyph builders add the depth. Many blocks have bevelled
// ends, so the pairs are not rectangles.
#pragma once
#include "platform/Types.h"

namespace KYR12::TitelData {

struct BlokVorm {
    REAL x[4];
    REAL y[4];
};

// First glyph, blocks C1 to C3 (slots 1 to 3).
inline constexpr BlokVorm blokkenC[3] = {
    {{-10, 20, -20, 20}, {-30, -30, -20, -20}},
    {{-20, -10, -20, -10}, {-20, -20, 30, 30}},
    {{-20, 20, -10, 20}, {30, 30, 40, 40}},
};

// Second glyph, blocks S1 to S5 (slots 1 to 5).
inline constexpr BlokVorm blokkenS[5] = {
    {{60, 90, 50, 90}, {-30, -30, -20, -20}},
    {{50, 60, 50, 60}, {-20, -20, 0, 10}},
    {{60, 80, 60, 90}, {0, 0, 10, 10}},
    {{80, 90, 80, 90}, {10, 10, 40, 30}},
    {{50, 80, 50, 80}, {30, 30, 40, 40}},
};

// The third glyph is the second moved 70 units to the right, block for block.
inline constexpr REAL verschilSS = 70;

}  // namespace KYR12::TitelData
