// Key code tables of the console keyboard: the second codes of Ctrl and Alt
// combinations, and the US-layout key behind each printable character.
#pragma once
#include <cstdint>

namespace IO {

// Virtual-key codes used by the key sources.
inline constexpr uint16_t VK_BACK = 0x08;
inline constexpr uint16_t VK_TAB = 0x09;
inline constexpr uint16_t VK_RETURN = 0x0D;
inline constexpr uint16_t VK_ESCAPE = 0x1B;
inline constexpr uint16_t VK_SPACE = 0x20;
inline constexpr uint16_t VK_PRIOR = 0x21;
inline constexpr uint16_t VK_NEXT = 0x22;
inline constexpr uint16_t VK_END = 0x23;
inline constexpr uint16_t VK_HOME = 0x24;
inline constexpr uint16_t VK_LEFT = 0x25;
inline constexpr uint16_t VK_UP = 0x26;
inline constexpr uint16_t VK_RIGHT = 0x27;
inline constexpr uint16_t VK_DOWN = 0x28;
inline constexpr uint16_t VK_INSERT = 0x2D;
inline constexpr uint16_t VK_DELETE = 0x2E;
inline constexpr uint16_t VK_F1 = 0x70;

// Set-1 scan codes the decision table looks at.
inline constexpr uint16_t SCAN_ESCAPE = 0x01;
inline constexpr uint16_t SCAN_RETURN = 0x1C;
inline constexpr uint16_t SCAN_CTRL = 0x1D;
inline constexpr uint16_t SCAN_LEFT_SHIFT = 0x2A;
inline constexpr uint16_t SCAN_ALT = 0x38;

// Second code of Ctrl with the key of virtual-key code vk; 0 when none.
uint8_t CtrlSecondCode(uint16_t vk);
// Second code of Alt with the key of virtual-key code vk; 0 when none.
uint8_t AltSecondCode(uint16_t vk);

// The key of a US keyboard that types a printable character.
struct CharKey {
    uint16_t virtualKeyCode;
    uint16_t scanCode;
    bool shift;  // typed with Shift held
};
// False for characters outside 20H..7EH.
bool KeyForChar(uint8_t c, CharKey& key);

}  // namespace IO
