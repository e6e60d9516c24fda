// Keys typed into the SDL window become console key records, as a physical
// US keyboard on the original console delivers them: virtual-key code, set-1
// scan code, character and control-key state (ENHANCED_KEY on the
// navigation block, keypad Enter and the right-hand Ctrl and Alt).
#pragma once
#include <cstdint>
#include "platform/console/InputQueue.h"

namespace Graph::detail {

// `scancode` is an SDL_Scancode, `mod` the event's SDL_Keymod bits. Returns
// false for keys that have no console record.
bool SdlKeyRecord(int scancode, uint16_t mod, bool down, IO::KeyRecord& record);

}  // namespace Graph::detail
