// The US keyboard: every physical key the key sources know, with the codes
// the console reports for it. The terminal decoder, the headless runner's key
// names and the SDL window all take their key codes and characters from here;
// each source keeps only its own rules (which modifiers change a character,
// how its own events name a key).
//
// The table is constexpr so that a source can name its keys as constants
// (KnownKey) and a key that does not exist fails to compile.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace IO {

struct UsKey {
    // The headless runner's script name, for the keys a script names by word;
    // nullptr for the others (a character key is named by its character).
    const char* name;
    uint16_t virtualKeyCode;
    uint16_t scanCode;    // set 1; with `enhanced` the E0-prefixed code
    uint8_t plain;        // character typed without Shift, 0 for none
    uint8_t shifted;      // character typed with Shift, 0 for none
    bool enhanced;        // reported with ENHANCED_KEY: the navigation block,
                          // keypad / and Enter, Num Lock, right Ctrl and Alt
    // Keypad digits and point: the key code with Num Lock off or Shift held
    // (the navigation key printed on it); `virtualKeyCode` and `plain` are
    // then what the key gives with Num Lock on. 0 for every other key.
    uint16_t navigationVk;
};

// In the order of the keyboard's USB usages (the main block first, the
// keypad after it).
inline constexpr UsKey kUsKeyboard[] = {
    // name, key code, scan code, plain, shifted, enhanced, navigation key code
    {nullptr, 0x41, 0x1E, 'a', 'A', false, 0}, {nullptr, 0x42, 0x30, 'b', 'B', false, 0},
    {nullptr, 0x43, 0x2E, 'c', 'C', false, 0}, {nullptr, 0x44, 0x20, 'd', 'D', false, 0},
    {nullptr, 0x45, 0x12, 'e', 'E', false, 0}, {nullptr, 0x46, 0x21, 'f', 'F', false, 0},
    {nullptr, 0x47, 0x22, 'g', 'G', false, 0}, {nullptr, 0x48, 0x23, 'h', 'H', false, 0},
    {nullptr, 0x49, 0x17, 'i', 'I', false, 0}, {nullptr, 0x4A, 0x24, 'j', 'J', false, 0},
    {nullptr, 0x4B, 0x25, 'k', 'K', false, 0}, {nullptr, 0x4C, 0x26, 'l', 'L', false, 0},
    {nullptr, 0x4D, 0x32, 'm', 'M', false, 0}, {nullptr, 0x4E, 0x31, 'n', 'N', false, 0},
    {nullptr, 0x4F, 0x18, 'o', 'O', false, 0}, {nullptr, 0x50, 0x19, 'p', 'P', false, 0},
    {nullptr, 0x51, 0x10, 'q', 'Q', false, 0}, {nullptr, 0x52, 0x13, 'r', 'R', false, 0},
    {nullptr, 0x53, 0x1F, 's', 'S', false, 0}, {nullptr, 0x54, 0x14, 't', 'T', false, 0},
    {nullptr, 0x55, 0x16, 'u', 'U', false, 0}, {nullptr, 0x56, 0x2F, 'v', 'V', false, 0},
    {nullptr, 0x57, 0x11, 'w', 'W', false, 0}, {nullptr, 0x58, 0x2D, 'x', 'X', false, 0},
    {nullptr, 0x59, 0x15, 'y', 'Y', false, 0}, {nullptr, 0x5A, 0x2C, 'z', 'Z', false, 0},
    {nullptr, 0x31, 0x02, '1', '!', false, 0}, {nullptr, 0x32, 0x03, '2', '@', false, 0},
    {nullptr, 0x33, 0x04, '3', '#', false, 0}, {nullptr, 0x34, 0x05, '4', '$', false, 0},
    {nullptr, 0x35, 0x06, '5', '%', false, 0}, {nullptr, 0x36, 0x07, '6', '^', false, 0},
    {nullptr, 0x37, 0x08, '7', '&', false, 0}, {nullptr, 0x38, 0x09, '8', '*', false, 0},
    {nullptr, 0x39, 0x0A, '9', '(', false, 0}, {nullptr, 0x30, 0x0B, '0', ')', false, 0},
    {"ENTER", 0x0D, 0x1C, 0x0D, 0x0D, false, 0},
    {"ESC", 0x1B, 0x01, 0x1B, 0x1B, false, 0},
    {"BACKSPACE", 0x08, 0x0E, 0x08, 0x08, false, 0},
    {"TAB", 0x09, 0x0F, 0x09, 0x09, false, 0},
    {"SPACE", 0x20, 0x39, ' ', ' ', false, 0},
    {nullptr, 0xBD, 0x0C, '-', '_', false, 0},  {nullptr, 0xBB, 0x0D, '=', '+', false, 0},
    {nullptr, 0xDB, 0x1A, '[', '{', false, 0},  {nullptr, 0xDD, 0x1B, ']', '}', false, 0},
    {nullptr, 0xDC, 0x2B, '\\', '|', false, 0}, {nullptr, 0xBA, 0x27, ';', ':', false, 0},
    {nullptr, 0xDE, 0x28, '\'', '"', false, 0}, {nullptr, 0xC0, 0x29, '`', '~', false, 0},
    {nullptr, 0xBC, 0x33, ',', '<', false, 0},  {nullptr, 0xBE, 0x34, '.', '>', false, 0},
    {nullptr, 0xBF, 0x35, '/', '?', false, 0},
    {nullptr, 0x14, 0x3A, 0, 0, false, 0},  // Caps Lock
    {"F1", 0x70, 0x3B, 0, 0, false, 0},  {"F2", 0x71, 0x3C, 0, 0, false, 0},
    {"F3", 0x72, 0x3D, 0, 0, false, 0},  {"F4", 0x73, 0x3E, 0, 0, false, 0},
    {"F5", 0x74, 0x3F, 0, 0, false, 0},  {"F6", 0x75, 0x40, 0, 0, false, 0},
    {"F7", 0x76, 0x41, 0, 0, false, 0},  {"F8", 0x77, 0x42, 0, 0, false, 0},
    {"F9", 0x78, 0x43, 0, 0, false, 0},  {"F10", 0x79, 0x44, 0, 0, false, 0},
    {"F11", 0x7A, 0x57, 0, 0, false, 0}, {"F12", 0x7B, 0x58, 0, 0, false, 0},
    {nullptr, 0x91, 0x46, 0, 0, false, 0},  // Scroll Lock
    {"INS", 0x2D, 0x52, 0, 0, true, 0},
    {"HOME", 0x24, 0x47, 0, 0, true, 0},
    {"PGUP", 0x21, 0x49, 0, 0, true, 0},
    {"DEL", 0x2E, 0x53, 0, 0, true, 0},
    {"END", 0x23, 0x4F, 0, 0, true, 0},
    {"PGDN", 0x22, 0x51, 0, 0, true, 0},
    {"RIGHT", 0x27, 0x4D, 0, 0, true, 0},
    {"LEFT", 0x25, 0x4B, 0, 0, true, 0},
    {"DOWN", 0x28, 0x50, 0, 0, true, 0},
    {"UP", 0x26, 0x48, 0, 0, true, 0},
    {nullptr, 0x90, 0x45, 0, 0, true, 0},        // Num Lock
    {nullptr, 0x6F, 0x35, '/', '/', true, 0},    // keypad /
    {nullptr, 0x6A, 0x37, '*', '*', false, 0},   // keypad *
    {nullptr, 0x6D, 0x4A, '-', '-', false, 0},   // keypad -
    {nullptr, 0x6B, 0x4E, '+', '+', false, 0},   // keypad +
    {nullptr, 0x0D, 0x1C, 0x0D, 0x0D, true, 0},  // keypad Enter
    {nullptr, 0x61, 0x4F, '1', 0, false, 0x23}, {nullptr, 0x62, 0x50, '2', 0, false, 0x28},
    {nullptr, 0x63, 0x51, '3', 0, false, 0x22}, {nullptr, 0x64, 0x4B, '4', 0, false, 0x25},
    {nullptr, 0x65, 0x4C, '5', 0, false, 0x0C}, {nullptr, 0x66, 0x4D, '6', 0, false, 0x27},
    {nullptr, 0x67, 0x47, '7', 0, false, 0x24}, {nullptr, 0x68, 0x48, '8', 0, false, 0x26},
    {nullptr, 0x69, 0x49, '9', 0, false, 0x21}, {nullptr, 0x60, 0x52, '0', 0, false, 0x2D},
    {nullptr, 0x6E, 0x53, '.', 0, false, 0x2E},  // keypad point
    {"CTRL", 0x11, 0x1D, 0, 0, false, 0},      // left Ctrl
    {"SHIFT", 0x10, 0x2A, 0, 0, false, 0},     // left Shift
    {"ALT", 0x12, 0x38, 0, 0, false, 0},       // left Alt
    {nullptr, 0x11, 0x1D, 0, 0, true, 0},      // right Ctrl
    {nullptr, 0x10, 0x36, 0, 0, false, 0},     // right Shift
    {nullptr, 0x12, 0x38, 0, 0, true, 0},      // right Alt
};

// Keypad keys carry the keypad key codes 60H..6FH (digits, point and the
// four operators), or are keypad Enter.
constexpr bool IsKeypadKey(const UsKey& key) {
    return (key.virtualKeyCode >= 0x60 && key.virtualKeyCode <= 0x6F) ||
           (key.virtualKeyCode == 0x0D && key.enhanced);
}

// The key of a script name, in any letter case; nullptr when none.
constexpr const UsKey* UsKeyNamed(std::string_view name) {
    auto upper = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; };
    for (const UsKey& key : kUsKeyboard) {
        if (key.name == nullptr) continue;
        std::string_view own(key.name);
        if (own.size() != name.size()) continue;
        std::size_t i = 0;
        while (i < own.size() && own[i] == upper(name[i])) ++i;
        if (i == own.size()) return &key;
    }
    return nullptr;
}

// The key outside the keypad that types printable character c (20H..7EH),
// with or without Shift; nullptr for other characters.
constexpr const UsKey* UsKeyTyping(uint8_t c) {
    if (c < 0x20 || c > 0x7E) return nullptr;
    for (const UsKey& key : kUsKeyboard) {
        if (!IsKeypadKey(key) && (key.plain == c || key.shifted == c)) return &key;
    }
    return nullptr;
}

// The key at a set-1 scan code, E0-prefixed (enhanced) or not; nullptr when
// none. Names the keys that have neither a script name nor a character.
constexpr const UsKey* UsKeyAt(uint16_t scanCode, bool enhanced) {
    for (const UsKey& key : kUsKeyboard) {
        if (key.scanCode == scanCode && key.enhanced == enhanced) return &key;
    }
    return nullptr;
}

// For constants: the key a lookup above found. A lookup that found none
// does not compile. (It finds the key in the table rather than testing the
// pointer against nullptr: with the sanitizers GCC does not take the address
// of a table entry for non-null in a constant expression.)
consteval const UsKey& KnownKey(const UsKey* key) {
    for (const UsKey& entry : kUsKeyboard) {
        if (&entry == key) return entry;
    }
    throw "no such key on the US keyboard";
}

}  // namespace IO
