// The key record a key of the US keyboard table gives, as a physical US
// keyboard on the original console delivers it: virtual-key code, set-1
// scan code, the character typed with the modifiers held, and the
// control-key state. The window sources (the SDL window, the web page) name
// a key and the modifiers held; the rules for what they give live here once.
#pragma once
#include "platform/console/InputQueue.h"
#include "platform/console/UsKeyboard.h"

namespace IO {

// The modifier keys held and the lock keys on when a key changes.
struct KeyModifiers {
    bool shift = false;
    bool leftCtrl = false, rightCtrl = false;
    bool leftAlt = false, rightAlt = false;
    bool numLock = false, capsLock = false, scrollLock = false;
};

// The record of `key` going down or up with `mods`: keypad digits give the
// digit with Num Lock on and no Shift, else their navigation key; letters
// follow Shift and Caps Lock; Ctrl gives the control characters of the
// letters, of Enter and of [ \ ] and no other printable character.
KeyRecord UsKeyRecord(const UsKey& key, const KeyModifiers& mods, bool down);

}  // namespace IO
