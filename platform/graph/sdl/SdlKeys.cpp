// SDL key events to console key records (see SdlKeys.h).
#include "platform/graph/sdl/detail/SdlKeys.h"

#include <SDL2/SDL_keyboard.h>
#include "platform/graph/sdl/detail/SdlKeyTable.h"

namespace Graph::detail {

namespace {

constexpr int kFirstLetter = 4;    // SDL_SCANCODE_A
constexpr int kLastLetter = 29;    // SDL_SCANCODE_Z
constexpr uint16_t kVkReturn = 0x0D;
constexpr uint16_t kVkOem4 = 0xDB, kVkOem5 = 0xDC, kVkOem6 = 0xDD;  // [ \ ]

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
uint8_t CharacterOf(const SdlKeyInfo& key, uint16_t mod) {
    const bool shift = (mod & KMOD_SHIFT) != 0;
    const bool ctrl = (mod & KMOD_CTRL) != 0;
    const bool alt = (mod & KMOD_ALT) != 0;
    if (key.scancode >= kFirstLetter && key.scancode <= kLastLetter) {
        const bool caps = (mod & KMOD_CAPS) != 0;
        const uint8_t letter = shift != caps ? key.shifted : key.plain;
        if (ctrl) return alt ? 0 : static_cast<uint8_t>(letter & 0x1F);
        return letter;
    }
    if (ctrl && !alt) {
        if (key.vk == kVkReturn) return 0x0A;
        if (key.vk == kVkOem4) return 0x1B;
        if (key.vk == kVkOem5) return 0x1C;
        if (key.vk == kVkOem6) return 0x1D;
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
    if (const SdlKeypadInfo* pad = FindSdlKeypad(scancode)) {
        const bool digits = (mod & KMOD_NUM) && !(mod & KMOD_SHIFT);
        record.virtualKeyCode = digits ? pad->numLockVk : pad->navigationVk;
        record.virtualScanCode = pad->scan;
        record.asciiChar = digits ? pad->character : 0;
        record.controlKeyState = ControlKeyState(mod, false);
        return true;
    }
    const SdlKeyInfo* key = FindSdlKey(scancode);
    if (!key) return false;
    record.virtualKeyCode = key->vk;
    record.virtualScanCode = key->scan;
    record.asciiChar = CharacterOf(*key, mod);
    record.controlKeyState = ControlKeyState(mod, key->enhanced);
    return true;
}

}  // namespace Graph::detail
