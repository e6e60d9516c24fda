// Key records of the US keyboard table (see UsKeyRecord.h).
#include "platform/console/UsKeyRecord.h"

namespace IO {

namespace {

// Ctrl with these keys types 0AH and 1BH..1DH. Both Enter keys share the
// key code of Enter.
constexpr uint16_t kVkReturn = KnownKey(UsKeyNamed("ENTER")).virtualKeyCode;
constexpr uint16_t kVkLeftBracket = KnownKey(UsKeyTyping('[')).virtualKeyCode;
constexpr uint16_t kVkBackslash = KnownKey(UsKeyTyping('\\')).virtualKeyCode;
constexpr uint16_t kVkRightBracket = KnownKey(UsKeyTyping(']')).virtualKeyCode;

uint32_t ControlKeyState(const KeyModifiers& mods, bool enhanced) {
    uint32_t state = 0;
    if (mods.shift) state |= SHIFT_PRESSED;
    if (mods.leftCtrl) state |= LEFT_CTRL_PRESSED;
    if (mods.rightCtrl) state |= RIGHT_CTRL_PRESSED;
    if (mods.leftAlt) state |= LEFT_ALT_PRESSED;
    if (mods.rightAlt) state |= RIGHT_ALT_PRESSED;
    if (mods.numLock) state |= NUMLOCK_ON;
    if (mods.capsLock) state |= CAPSLOCK_ON;
    if (mods.scrollLock) state |= SCROLLLOCK_ON;
    if (enhanced) state |= ENHANCED_KEY;
    return state;
}

// The character a key types with the modifiers held, as the US layout gives it.
uint8_t CharacterOf(const UsKey& key, const KeyModifiers& mods) {
    const bool ctrl = mods.leftCtrl || mods.rightCtrl;
    const bool alt = mods.leftAlt || mods.rightAlt;
    if (key.plain >= 'a' && key.plain <= 'z') {
        const uint8_t letter = mods.shift != mods.capsLock ? key.shifted : key.plain;
        if (ctrl) return alt ? 0 : static_cast<uint8_t>(letter & 0x1F);
        return letter;
    }
    if (ctrl && !alt) {
        if (key.virtualKeyCode == kVkReturn) return 0x0A;
        if (key.virtualKeyCode == kVkLeftBracket) return 0x1B;
        if (key.virtualKeyCode == kVkBackslash) return 0x1C;
        if (key.virtualKeyCode == kVkRightBracket) return 0x1D;
    }
    const uint8_t c = mods.shift ? key.shifted : key.plain;
    // Printable characters other than the blank have no Ctrl or Ctrl+Alt form.
    if (ctrl && c > ' ' && c < 0x7F) return 0;
    return c;
}

}  // namespace

KeyRecord UsKeyRecord(const UsKey& key, const KeyModifiers& mods, bool down) {
    KeyRecord record;
    record.keyDown = down;
    record.repeatCount = 1;
    record.virtualScanCode = key.scanCode;
    record.controlKeyState = ControlKeyState(mods, key.enhanced);
    if (key.navigationVk != 0) {
        const bool digits = mods.numLock && !mods.shift;
        record.virtualKeyCode = digits ? key.virtualKeyCode : key.navigationVk;
        record.asciiChar = digits ? key.plain : 0;
        return record;
    }
    record.virtualKeyCode = key.virtualKeyCode;
    record.asciiChar = CharacterOf(key, mods);
    return record;
}

}  // namespace IO
