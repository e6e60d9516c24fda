// Key code tables of the console keyboard.
#include "platform/console/KeyCodes.h"

#include <array>

namespace IO {
namespace {

// The second codes belong to the console, not to the keyboard layout, so
// they stay here rather than in UsKeyboard.h; each is keyed by its key's
// virtual-key code, as the key decision looks it up.
struct SecondCode {
    uint16_t vk;
    uint8_t code;
};

constexpr std::array<SecondCode, 18> kCtrlTable{{
    {0x09, 0x94},  // Tab
    {0x21, 0x84},  // Page Up
    {0x22, 0x76},  // Page Down
    {0x23, 0x75},  // End
    {0x24, 0x77},  // Home
    {0x25, 0x73},  // Left
    {0x26, 0x8D},  // Up
    {0x27, 0x74},  // Right
    {0x28, 0x91},  // Down
    {0x2D, 0x92},  // Insert
    {0x71, 0x5F},  // F2 .. F9 count up from 5FH
    {0x72, 0x60},
    {0x73, 0x61},
    {0x74, 0x62},
    {0x75, 0x63},
    {0x76, 0x64},
    {0x77, 0x65},
    {0x78, 0x66},
}};

constexpr std::array<SecondCode, 3> kAltTable{{
    {0x24, 0x97},  // Home
    {0x2D, 0xA2},  // Insert
    {0x78, 0x70},  // F9
}};

template <std::size_t N>
uint8_t Lookup(const std::array<SecondCode, N>& table, uint16_t vk) {
    for (const SecondCode& entry : table) {
        if (entry.vk == vk) return entry.code;
    }
    return 0;
}

}  // namespace

uint8_t CtrlSecondCode(uint16_t vk) { return Lookup(kCtrlTable, vk); }

uint8_t AltSecondCode(uint16_t vk) { return Lookup(kAltTable, vk); }

}  // namespace IO
