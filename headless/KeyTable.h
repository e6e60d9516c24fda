// The data behind the script key names: named keys and the US layout's
// printable characters, with their key codes and scan codes.
#pragma once
#include <cstdint>

namespace Headless {

struct NamedKey {
    const char* name;
    uint16_t virtualKey;
    uint16_t scanCode;
    uint8_t character;
    bool enhanced;   // the navigation block beside the keypad
};
extern const NamedKey NamedKeys[];
extern const int NamedKeyCount;

// A printable character: the key that types it on a US keyboard, and
// whether Shift must be held for it.
struct CharacterKey {
    char character;
    uint16_t virtualKey;
    uint16_t scanCode;
    bool shifted;
};
extern const CharacterKey CharacterKeys[];
extern const int CharacterKeyCount;

}  // namespace Headless
