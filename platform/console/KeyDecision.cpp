// The console key decision table: which character a key-down record gives.
#include "platform/console/KeyDecision.h"

#include "platform/console/KeyCodes.h"

namespace IO {
namespace {

constexpr uint32_t kLockBits = NUMLOCK_ON | SCROLLLOCK_ON | CAPSLOCK_ON;

KeyDecision Skip() { return {KeyDecision::Skip, 0, 0}; }
KeyDecision Char(uint8_t c) { return {KeyDecision::Char, c, 0}; }
KeyDecision TwoPart(uint8_t second) { return {KeyDecision::TwoPart, 0, second}; }

uint8_t LowByte(uint16_t scan) { return uint8_t(scan & 0xFF); }

// No modifier, or only the enhanced-key flag. Enter (main or keypad) always
// gives 0DH, whatever character the record carries (Ctrl+Enter aside).
KeyDecision Unmodified(const KeyRecord& key, bool enhanced) {
    if (key.asciiChar != 0) {
        return Char(key.virtualScanCode == SCAN_RETURN ? 0x0D : key.asciiChar);
    }
    // A non-enhanced key with scan code 01H is Esc; the enhanced block has no
    // such key, so the check applies only without the flag.
    if (!enhanced && key.virtualScanCode == SCAN_ESCAPE) return Char(0x1B);
    return TwoPart(LowByte(key.virtualScanCode));
}

KeyDecision ShiftOnly(const KeyRecord& key) {
    if (key.asciiChar == 0 || key.virtualScanCode == SCAN_LEFT_SHIFT) return Skip();
    return Char(key.asciiChar);
}

KeyDecision CtrlOnly(const KeyRecord& key) {
    if (key.virtualScanCode == SCAN_CTRL) return Skip();  // the Ctrl key itself
    return TwoPart(CtrlSecondCode(key.virtualKeyCode));
}

KeyDecision AltOnly(const KeyRecord& key) {
    if (key.virtualScanCode == SCAN_ALT) return Skip();  // the Alt key itself
    return TwoPart(AltSecondCode(key.virtualKeyCode));
}

}  // namespace

KeyDecision DecideKey(const KeyRecord& key) {
    const uint32_t state = key.controlKeyState & ~kLockBits;
    switch (state) {
        case 0:
            return Unmodified(key, false);
        case SHIFT_PRESSED:
            return ShiftOnly(key);
        case ENHANCED_KEY:
            return Unmodified(key, true);
        case RIGHT_CTRL_PRESSED:
        case LEFT_CTRL_PRESSED:
        case RIGHT_CTRL_PRESSED | ENHANCED_KEY:
        case LEFT_CTRL_PRESSED | ENHANCED_KEY:
            return CtrlOnly(key);
        case RIGHT_ALT_PRESSED:
        case LEFT_ALT_PRESSED:
        case RIGHT_ALT_PRESSED | ENHANCED_KEY:
        case LEFT_ALT_PRESSED | ENHANCED_KEY:
            return AltOnly(key);
        default:
            // Any other mix of modifiers: the character if there is one.
            return key.asciiChar != 0 ? Char(key.asciiChar) : Skip();
    }
}

}  // namespace IO
