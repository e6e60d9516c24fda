// SDL key events to console key records (see SdlKeys.h).
#include "platform/sdl/detail/SdlKeys.h"

#include <SDL2/SDL_keyboard.h>
#include "platform/sdl/detail/SdlKeyTable.h"

namespace Graph::detail {

namespace {

// Ctrl with these keys types 0AH and 1BH..1DH. Both Enter keys share the
// key code of Enter.
constexpr uint16_t kVkReturn = IO::KnownKey(IO::UsKeyNamed("ENTER")).virtualKeyCode;
constexpr uint16_t kVkLeftBracket = IO::KnownKey(IO::UsKeyTyping('[')).virtualKeyCode;
constexpr uint16_t kVkBackslash = IO::KnownKey(IO::UsKeyTyping('\\')).virtualKeyCode;
constexpr uint16_t kVkRightBracket = IO::KnownKey(IO::UsKeyTyping(']')).virtualKeyCode;

uint32_t ControlKeyState(uint16_t mod, bool enhanced) {
    uint32_t state = 0;
    if (mod & KMOD_SHIFT) state |= IO::SHIFT_PRESSED;
    if (mod & KMOD_LCTRL) state |= IO::LEFT_CTRL_PRESSED;
    if (mod & KMOD_RCTRL) state |= IO::RIGHT_CTRL_PRESSED;
    if (mod & KMOD_LALT) state |= IO::LEFT_ALT_PRESSED;
    if (mod & KMOD_RALT) state |= IO::RIGHT_ALT_PRESSED;
    if (mod & KMOD_NUM) state |= IO::NUMLOCK_ON;
    if (mod & KMOD_CAPS) state |= IO::CAPSLOCK_ON;
    if (mod & KMOD_SCROLL) state |= IO::SCROLLLOCK_ON;
    if (enhanced) state |= IO::ENHANCED_KEY;
    return state;
}

// The character a key types with the modifiers held, as the US layout gives it.
uint8_t CharacterOf(const IO::UsKey& key, uint16_t mod) {
    const bool shift = (mod & KMOD_SHIFT) != 0;
    const bool ctrl = (mod & KMOD_CTRL) != 0;
    const bool alt = (mod & KMOD_ALT) != 0;
    if (key.plain >= 'a' && key.plain <= 'z') {
        const bool caps = (mod & KMOD_CAPS) != 0;
        const uint8_t letter = shift != caps ? key.shifted : key.plain;
        if (ctrl) return alt ? 0 : static_cast<uint8_t>(letter & 0x1F);
        return letter;
    }
    if (ctrl && !alt) {
        if (key.virtualKeyCode == kVkReturn) return 0x0A;
        if (key.virtualKeyCode == kVkLeftBracket) return 0x1B;
        if (key.virtualKeyCode == kVkBackslash) return 0x1C;
        if (key.virtualKeyCode == kVkRightBracket) return 0x1D;
    }
    const uint8_t c = shift ? key.shifted : key.plain;
    // Printable characters other than the blank have no Ctrl or Ctrl+Alt form.
    if (ctrl && c > ' ' && c < 0x7F) return 0;
    return c;
}

}  // namespace

bool SdlKeyRecord(int scancode, uint16_t mod, bool down, IO::KeyRecord& record) {
    record = IO::KeyRecord{};
    record.keyDown = down;
    record.repeatCount = 1;
    const IO::UsKey* key = FindSdlKey(scancode);
    if (!key) return false;
    record.virtualScanCode = key->scanCode;
    if (key->navigationVk != 0) {
        // Keypad digits and point: the digit with Num Lock on and no Shift,
        // the navigation key otherwise.
        const bool digits = (mod & KMOD_NUM) && !(mod & KMOD_SHIFT);
        record.virtualKeyCode = digits ? key->virtualKeyCode : key->navigationVk;
        record.asciiChar = digits ? key->plain : 0;
        record.controlKeyState = ControlKeyState(mod, key->enhanced);
        return true;
    }
    record.virtualKeyCode = key->virtualKeyCode;
    record.asciiChar = CharacterOf(*key, mod);
    record.controlKeyState = ControlKeyState(mod, key->enhanced);
    return true;
}

}  // namespace Graph::detail
