// The standard sixteen-colour palette that Graph::Init installs, as 0xRRGGBB
// values indexed by the Kleuren ordinals.
#pragma once
#include <cstdint>

namespace Graph::detail {

inline constexpr uint32_t kStandardPalette[16] = {
    0x000000,  // BLACK
    0x0000B0,  // BLUE
    0x00B000,  // GREEN
    0x008080,  // CYAN
    0xB00000,  // RED
    0x800080,  // MAGENTA
    0xB06000,  // BROWN
    0xC0C0C0,  // WHITE
    0x808080,  // GRAY
    0x0000FF,  // LIGHTBLUE
    0x00FF00,  // LIGHTGREEN
    0x00FFFF,  // LIGHTCYAN
    0xFF0000,  // LIGHTRED
    0xFF00FF,  // LIGHTMAGENTA
    0xFFFF00,  // LIGHTYELLOW
    0xFFFFFF,  // BRIGHTWHITE
};

}  // namespace Graph::detail
