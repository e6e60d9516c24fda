// The browser's key codes -> keys of the US keyboard table (see WebKeys.h).
// Character keys are named by the character they type without Shift, keys
// with a script name by that name, and the rest (lock keys, keypad,
// right-hand modifiers) by their set-1 scan code, as in the SDL window.
#include "platform/web/WebKeys.h"

namespace Web {

namespace {

using IO::KnownKey;

struct WebKey {
    std::string_view code;
    const IO::UsKey* key;
};

consteval WebKey Typing(std::string_view code, char c) {
    return {code, &KnownKey(IO::UsKeyTyping(static_cast<uint8_t>(c)))};
}
consteval WebKey Named(std::string_view code, const char* name) { return {code, &KnownKey(IO::UsKeyNamed(name))}; }
consteval WebKey At(std::string_view code, uint16_t scanCode, bool enhanced = false) {
    return {code, &KnownKey(IO::UsKeyAt(scanCode, enhanced))};
}

constexpr WebKey kKeys[] = {
    Typing("KeyA", 'a'), Typing("KeyB", 'b'), Typing("KeyC", 'c'), Typing("KeyD", 'd'),
    Typing("KeyE", 'e'), Typing("KeyF", 'f'), Typing("KeyG", 'g'), Typing("KeyH", 'h'),
    Typing("KeyI", 'i'), Typing("KeyJ", 'j'), Typing("KeyK", 'k'), Typing("KeyL", 'l'),
    Typing("KeyM", 'm'), Typing("KeyN", 'n'), Typing("KeyO", 'o'), Typing("KeyP", 'p'),
    Typing("KeyQ", 'q'), Typing("KeyR", 'r'), Typing("KeyS", 's'), Typing("KeyT", 't'),
    Typing("KeyU", 'u'), Typing("KeyV", 'v'), Typing("KeyW", 'w'), Typing("KeyX", 'x'),
    Typing("KeyY", 'y'), Typing("KeyZ", 'z'),
    Typing("Digit1", '1'), Typing("Digit2", '2'), Typing("Digit3", '3'), Typing("Digit4", '4'),
    Typing("Digit5", '5'), Typing("Digit6", '6'), Typing("Digit7", '7'), Typing("Digit8", '8'),
    Typing("Digit9", '9'), Typing("Digit0", '0'),
    Named("Enter", "ENTER"), Named("Escape", "ESC"), Named("Backspace", "BACKSPACE"),
    Named("Tab", "TAB"), Named("Space", "SPACE"),
    Typing("Minus", '-'), Typing("Equal", '='), Typing("BracketLeft", '['), Typing("BracketRight", ']'),
    Typing("Backslash", '\\'), Typing("Semicolon", ';'), Typing("Quote", '\''), Typing("Backquote", '`'),
    Typing("Comma", ','), Typing("Period", '.'), Typing("Slash", '/'),
    At("CapsLock", 0x3A),
    Named("F1", "F1"), Named("F2", "F2"), Named("F3", "F3"), Named("F4", "F4"),
    Named("F5", "F5"), Named("F6", "F6"), Named("F7", "F7"), Named("F8", "F8"),
    Named("F9", "F9"), Named("F10", "F10"), Named("F11", "F11"), Named("F12", "F12"),
    At("ScrollLock", 0x46),
    Named("Insert", "INS"), Named("Home", "HOME"), Named("PageUp", "PGUP"), Named("Delete", "DEL"),
    Named("End", "END"), Named("PageDown", "PGDN"),
    Named("ArrowRight", "RIGHT"), Named("ArrowLeft", "LEFT"), Named("ArrowDown", "DOWN"), Named("ArrowUp", "UP"),
    At("NumLock", 0x45, true),
    At("NumpadDivide", 0x35, true), At("NumpadMultiply", 0x37), At("NumpadSubtract", 0x4A),
    At("NumpadAdd", 0x4E), At("NumpadEnter", 0x1C, true),
    At("Numpad1", 0x4F), At("Numpad2", 0x50), At("Numpad3", 0x51), At("Numpad4", 0x4B),
    At("Numpad5", 0x4C), At("Numpad6", 0x4D), At("Numpad7", 0x47), At("Numpad8", 0x48),
    At("Numpad9", 0x49), At("Numpad0", 0x52), At("NumpadDecimal", 0x53),
    Named("ControlLeft", "CTRL"), Named("ShiftLeft", "SHIFT"), Named("AltLeft", "ALT"),
    At("ControlRight", 0x1D, true), At("ShiftRight", 0x36), At("AltRight", 0x38, true),
};

}  // namespace

const IO::UsKey* FindWebKey(std::string_view code) {
    for (const WebKey& k : kKeys)
        if (k.code == code) return k.key;
    return nullptr;
}

IO::KeyModifiers ModifiersOf(uint32_t bits) {
    IO::KeyModifiers mods;
    mods.shift = (bits & kShift) != 0;
    mods.leftCtrl = (bits & kLeftCtrl) != 0;
    mods.rightCtrl = (bits & kRightCtrl) != 0;
    mods.leftAlt = (bits & kLeftAlt) != 0;
    mods.rightAlt = (bits & kRightAlt) != 0;
    mods.numLock = (bits & kNumLock) != 0;
    mods.capsLock = (bits & kCapsLock) != 0;
    mods.scrollLock = (bits & kScrollLock) != 0;
    return mods;
}

bool WebKeyRecord(std::string_view code, uint32_t modifierBits, bool down, IO::KeyRecord& record) {
    const IO::UsKey* key = FindWebKey(code);
    if (!key) return false;
    record = IO::UsKeyRecord(*key, ModifiersOf(modifierBits), down);
    return true;
}

bool IsFullscreenToggle(std::string_view code, uint32_t bits) {
    constexpr uint32_t kCtrlAltShift = kShift | kLeftCtrl | kRightCtrl | kLeftAlt | kRightAlt;
    if (code == "F11") return (bits & kCtrlAltShift) == 0;
    const bool enter = code == "Enter" || code == "NumpadEnter";
    return enter && (bits & (kLeftAlt | kRightAlt)) != 0 && (bits & (kShift | kLeftCtrl | kRightCtrl)) == 0;
}

KeyOutcome PageKeyboard::Take(std::string_view code, uint32_t bits, bool down, bool repeat, IO::KeyRecord& record) {
    const IO::UsKey* key = FindWebKey(code);
    if (!key) return KeyOutcome::NotOurs;
    if (down && IsFullscreenToggle(code, bits)) {
        for (const IO::UsKey*& held : heldToggles_) {
            if (held == key) break;
            if (held == nullptr) {
                held = key;
                break;
            }
        }
        return repeat ? KeyOutcome::Swallowed : KeyOutcome::ToggleFullscreen;
    }
    if (!down) {
        for (const IO::UsKey*& held : heldToggles_) {
            if (held != key) continue;
            held = nullptr;
            return KeyOutcome::Swallowed;
        }
    }
    record = IO::UsKeyRecord(*key, ModifiersOf(bits), down);
    return KeyOutcome::Posted;
}

}  // namespace Web
