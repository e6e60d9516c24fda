// Key names of the headless runner's scripts and the key records they stand
// for: the records a physical keyboard gives the console (navigation keys
// with ENHANCED_KEY, the US layout's characters, scan codes and key codes).
#pragma once
#include <string_view>

#include "platform/console/InputQueue.h"

namespace Headless {

struct KeyPress {
    IO::KeyRecord down;
    IO::KeyRecord up;
};

// NAME is UP DOWN LEFT RIGHT SPACE ENTER ESC TAB BACKSPACE HOME END PGUP PGDN
// INS DEL F1..F12 (any letter case), or one printable character, optionally
// after SHIFT+, CTRL+ and ALT+ prefixes; SHIFT, CTRL and ALT alone are those
// modifier keys pressed alone. Returns false for an unknown name.
bool KeyPressFor(std::string_view name, KeyPress& out);

}  // namespace Headless
