// Turns a script key name into the key-down and key-up records of one press.
#include "headless/KeyNames.h"

#include <cctype>

#include "headless/KeyTable.h"

namespace Headless {

namespace {

struct Modifier {
    const char* name;
    uint32_t flag;
    uint16_t virtualKey;
    uint16_t scanCode;
};

const Modifier Modifiers[] = {
    {"SHIFT", IO::SHIFT_PRESSED, 0x10, 0x2A},
    {"CTRL", IO::LEFT_CTRL_PRESSED, 0x11, 0x1D},
    {"ALT", IO::LEFT_ALT_PRESSED, 0x12, 0x38},
};

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

const Modifier* FindModifier(std::string_view word) {
    for (const Modifier& m : Modifiers) {
        if (SameIgnoringCase(word, m.name)) return &m;
    }
    return nullptr;
}

// Strips leading "SHIFT+", "CTRL+" and "ALT+" and collects their flags. A
// '+' with nothing after it belongs to the key ("CTRL++" is Ctrl with '+').
std::string_view StripModifiers(std::string_view name, uint32_t& flags) {
    for (;;) {
        std::size_t plus = name.find('+');
        if (plus == std::string_view::npos || plus == 0 || plus + 1 >= name.size()) return name;
        const Modifier* m = FindModifier(name.substr(0, plus));
        if (m == nullptr) return name;
        flags |= m->flag;
        name.remove_prefix(plus + 1);
    }
}

const CharacterKey* FindCharacter(char c) {
    for (int i = 0; i < CharacterKeyCount; ++i) {
        if (CharacterKeys[i].character == c) return &CharacterKeys[i];
    }
    return nullptr;
}

// The character the same key types with Shift held.
char ShiftedOf(const CharacterKey& key) {
    if (key.shifted) return key.character;
    if (key.character >= 'a' && key.character <= 'z') return static_cast<char>(key.character - 'a' + 'A');
    for (int i = 0; i < CharacterKeyCount; ++i) {
        if (CharacterKeys[i].virtualKey == key.virtualKey && CharacterKeys[i].shifted) return CharacterKeys[i].character;
    }
    return key.character;
}

// Ctrl turns letters into control characters and the three bracket keys
// into 1BH..1DH; the other printable keys give no character.
uint8_t ControlCharacterOf(char c) {
    unsigned char u = static_cast<unsigned char>(std::toupper(static_cast<unsigned char>(c)));
    if (u >= 'A' && u <= 'Z') return static_cast<uint8_t>(u & 0x1F);
    if (c == '[' || c == '{') return 0x1B;
    if (c == '\\' || c == '|') return 0x1C;
    if (c == ']' || c == '}') return 0x1D;
    return 0;
}

void SetPress(KeyPress& out, uint16_t vk, uint16_t scan, uint8_t ch, uint32_t downState, uint32_t upState) {
    out.down = IO::KeyRecord{true, 1, vk, scan, ch, downState};
    out.up = IO::KeyRecord{false, 1, vk, scan, ch, upState};
}

bool CharacterPress(char c, uint32_t flags, KeyPress& out) {
    bool upper = c >= 'A' && c <= 'Z';
    const CharacterKey* key = FindCharacter(upper ? static_cast<char>(c - 'A' + 'a') : c);
    if (key == nullptr) return false;
    bool shift = upper || key->shifted || (flags & IO::SHIFT_PRESSED) != 0;
    if (shift) flags |= IO::SHIFT_PRESSED;
    char typed = shift ? ShiftedOf(*key) : key->character;
    uint8_t ch = static_cast<uint8_t>(typed);
    bool ctrl = (flags & IO::LEFT_CTRL_PRESSED) != 0;
    bool alt = (flags & IO::LEFT_ALT_PRESSED) != 0;
    if (ctrl && alt) ch = 0;
    else if (ctrl) ch = ControlCharacterOf(typed);
    SetPress(out, key->virtualKey, key->scanCode, ch, flags, flags);
    return true;
}

bool NamedPress(std::string_view name, uint32_t flags, KeyPress& out) {
    for (int i = 0; i < NamedKeyCount; ++i) {
        const NamedKey& key = NamedKeys[i];
        if (!SameIgnoringCase(name, key.name)) continue;
        uint32_t state = flags | (key.enhanced ? IO::ENHANCED_KEY : 0);
        uint8_t ch = key.character;
        if ((flags & IO::LEFT_CTRL_PRESSED) != 0) {
            if (key.virtualKey == 0x0D) ch = 0x0A;  // Ctrl+Enter is a line feed
            if (key.virtualKey == 0x08) ch = 0x7F;  // Ctrl+Backspace is DEL
        }
        SetPress(out, key.virtualKey, key.scanCode, ch, state, state);
        return true;
    }
    return false;
}

}  // namespace

bool KeyPressFor(std::string_view name, KeyPress& out) {
    uint32_t flags = 0;
    std::string_view key = StripModifiers(name, flags);
    if (key.empty()) return false;
    if (const Modifier* m = FindModifier(key)) {
        // A modifier alone: its own flag is set while it is down, clear in its key-up.
        SetPress(out, m->virtualKey, m->scanCode, 0, flags | m->flag, flags);
        return true;
    }
    if (key.size() == 1) {
        unsigned char c = static_cast<unsigned char>(key[0]);
        return c > 0x20 && c < 0x7F && CharacterPress(key[0], flags, out);
    }
    return NamedPress(key, flags, out);
}

}  // namespace Headless
