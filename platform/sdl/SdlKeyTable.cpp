// SDL scancode -> key of the US keyboard table. Character keys are named by
// the character they type without Shift, keys with a script name by that
// name, and the rest (lock keys, keypad, right-hand modifiers) by their
// set-1 scan code.
#include "platform/sdl/detail/SdlKeyTable.h"

#include <SDL2/SDL_scancode.h>

namespace Graph::detail {

namespace {

using IO::KnownKey;

struct SdlKey {
    int scancode;
    const IO::UsKey* key;
};

consteval SdlKey Typing(SDL_Scancode scancode, char c) {
    return {scancode, &KnownKey(IO::UsKeyTyping(static_cast<uint8_t>(c)))};
}
consteval SdlKey Named(SDL_Scancode scancode, const char* name) {
    return {scancode, &KnownKey(IO::UsKeyNamed(name))};
}
consteval SdlKey At(SDL_Scancode scancode, uint16_t scanCode, bool enhanced = false) {
    return {scancode, &KnownKey(IO::UsKeyAt(scanCode, enhanced))};
}

constexpr SdlKey kKeys[] = {
    Typing(SDL_SCANCODE_A, 'a'), Typing(SDL_SCANCODE_B, 'b'), Typing(SDL_SCANCODE_C, 'c'),
    Typing(SDL_SCANCODE_D, 'd'), Typing(SDL_SCANCODE_E, 'e'), Typing(SDL_SCANCODE_F, 'f'),
    Typing(SDL_SCANCODE_G, 'g'), Typing(SDL_SCANCODE_H, 'h'), Typing(SDL_SCANCODE_I, 'i'),
    Typing(SDL_SCANCODE_J, 'j'), Typing(SDL_SCANCODE_K, 'k'), Typing(SDL_SCANCODE_L, 'l'),
    Typing(SDL_SCANCODE_M, 'm'), Typing(SDL_SCANCODE_N, 'n'), Typing(SDL_SCANCODE_O, 'o'),
    Typing(SDL_SCANCODE_P, 'p'), Typing(SDL_SCANCODE_Q, 'q'), Typing(SDL_SCANCODE_R, 'r'),
    Typing(SDL_SCANCODE_S, 's'), Typing(SDL_SCANCODE_T, 't'), Typing(SDL_SCANCODE_U, 'u'),
    Typing(SDL_SCANCODE_V, 'v'), Typing(SDL_SCANCODE_W, 'w'), Typing(SDL_SCANCODE_X, 'x'),
    Typing(SDL_SCANCODE_Y, 'y'), Typing(SDL_SCANCODE_Z, 'z'),
    Typing(SDL_SCANCODE_1, '1'), Typing(SDL_SCANCODE_2, '2'), Typing(SDL_SCANCODE_3, '3'),
    Typing(SDL_SCANCODE_4, '4'), Typing(SDL_SCANCODE_5, '5'), Typing(SDL_SCANCODE_6, '6'),
    Typing(SDL_SCANCODE_7, '7'), Typing(SDL_SCANCODE_8, '8'), Typing(SDL_SCANCODE_9, '9'),
    Typing(SDL_SCANCODE_0, '0'),
    Named(SDL_SCANCODE_RETURN, "ENTER"), Named(SDL_SCANCODE_ESCAPE, "ESC"),
    Named(SDL_SCANCODE_BACKSPACE, "BACKSPACE"), Named(SDL_SCANCODE_TAB, "TAB"),
    Named(SDL_SCANCODE_SPACE, "SPACE"),
    Typing(SDL_SCANCODE_MINUS, '-'), Typing(SDL_SCANCODE_EQUALS, '='),
    Typing(SDL_SCANCODE_LEFTBRACKET, '['), Typing(SDL_SCANCODE_RIGHTBRACKET, ']'),
    Typing(SDL_SCANCODE_BACKSLASH, '\\'), Typing(SDL_SCANCODE_SEMICOLON, ';'),
    Typing(SDL_SCANCODE_APOSTROPHE, '\''), Typing(SDL_SCANCODE_GRAVE, '`'),
    Typing(SDL_SCANCODE_COMMA, ','), Typing(SDL_SCANCODE_PERIOD, '.'),
    Typing(SDL_SCANCODE_SLASH, '/'),
    At(SDL_SCANCODE_CAPSLOCK, 0x3A),
    Named(SDL_SCANCODE_F1, "F1"), Named(SDL_SCANCODE_F2, "F2"), Named(SDL_SCANCODE_F3, "F3"),
    Named(SDL_SCANCODE_F4, "F4"), Named(SDL_SCANCODE_F5, "F5"), Named(SDL_SCANCODE_F6, "F6"),
    Named(SDL_SCANCODE_F7, "F7"), Named(SDL_SCANCODE_F8, "F8"), Named(SDL_SCANCODE_F9, "F9"),
    Named(SDL_SCANCODE_F10, "F10"), Named(SDL_SCANCODE_F11, "F11"), Named(SDL_SCANCODE_F12, "F12"),
    At(SDL_SCANCODE_SCROLLLOCK, 0x46),
    Named(SDL_SCANCODE_INSERT, "INS"), Named(SDL_SCANCODE_HOME, "HOME"),
    Named(SDL_SCANCODE_PAGEUP, "PGUP"), Named(SDL_SCANCODE_DELETE, "DEL"),
    Named(SDL_SCANCODE_END, "END"), Named(SDL_SCANCODE_PAGEDOWN, "PGDN"),
    Named(SDL_SCANCODE_RIGHT, "RIGHT"), Named(SDL_SCANCODE_LEFT, "LEFT"),
    Named(SDL_SCANCODE_DOWN, "DOWN"), Named(SDL_SCANCODE_UP, "UP"),
    At(SDL_SCANCODE_NUMLOCKCLEAR, 0x45, true),
    At(SDL_SCANCODE_KP_DIVIDE, 0x35, true), At(SDL_SCANCODE_KP_MULTIPLY, 0x37),
    At(SDL_SCANCODE_KP_MINUS, 0x4A), At(SDL_SCANCODE_KP_PLUS, 0x4E),
    At(SDL_SCANCODE_KP_ENTER, 0x1C, true),
    At(SDL_SCANCODE_KP_1, 0x4F), At(SDL_SCANCODE_KP_2, 0x50), At(SDL_SCANCODE_KP_3, 0x51),
    At(SDL_SCANCODE_KP_4, 0x4B), At(SDL_SCANCODE_KP_5, 0x4C), At(SDL_SCANCODE_KP_6, 0x4D),
    At(SDL_SCANCODE_KP_7, 0x47), At(SDL_SCANCODE_KP_8, 0x48), At(SDL_SCANCODE_KP_9, 0x49),
    At(SDL_SCANCODE_KP_0, 0x52), At(SDL_SCANCODE_KP_PERIOD, 0x53),
    Named(SDL_SCANCODE_LCTRL, "CTRL"), Named(SDL_SCANCODE_LSHIFT, "SHIFT"),
    Named(SDL_SCANCODE_LALT, "ALT"),
    At(SDL_SCANCODE_RCTRL, 0x1D, true), At(SDL_SCANCODE_RSHIFT, 0x36),
    At(SDL_SCANCODE_RALT, 0x38, true),
};

}  // namespace

const IO::UsKey* FindSdlKey(int scancode) {
    for (const SdlKey& k : kKeys)
        if (k.scancode == scancode) return k.key;
    return nullptr;
}

}  // namespace Graph::detail
