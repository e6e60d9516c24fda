// The sixteen colour names; each ordinal is a palette index of the standard palette.
#pragma once
#include <cstdint>

enum Kleuren : uint8_t {
    BLACK = 0, BLUE, GREEN, CYAN, RED, MAGENTA, BROWN, WHITE,
    GRAY, LIGHTBLUE, LIGHTGREEN, LIGHTCYAN, LIGHTRED, LIGHTMAGENTA, LIGHTYELLOW, BRIGHTWHITE
};
