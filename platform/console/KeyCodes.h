// Key code tables of the console keyboard: the second codes of Ctrl and Alt
// combinations, and the scan codes of the keys the key decision singles out.
#pragma once
#include <cstdint>

#include "platform/console/UsKeyboard.h"

namespace IO {

// Set-1 scan codes the decision table looks at.
inline constexpr uint16_t SCAN_ESCAPE = KnownKey(UsKeyNamed("ESC")).scanCode;
inline constexpr uint16_t SCAN_RETURN = KnownKey(UsKeyNamed("ENTER")).scanCode;
inline constexpr uint16_t SCAN_CTRL = KnownKey(UsKeyNamed("CTRL")).scanCode;
inline constexpr uint16_t SCAN_LEFT_SHIFT = KnownKey(UsKeyNamed("SHIFT")).scanCode;
inline constexpr uint16_t SCAN_ALT = KnownKey(UsKeyNamed("ALT")).scanCode;

// Second code of Ctrl with the key of virtual-key code vk; 0 when none.
uint8_t CtrlSecondCode(uint16_t vk);
// Second code of Alt with the key of virtual-key code vk; 0 when none.
uint8_t AltSecondCode(uint16_t vk);

}  // namespace IO
