// Turns a script key name into the key-down and key-up records of one press.
#include "headless/KeyNames.h"

#include <cctype>

#include "platform/console/UsKeyboard.h"

namespace Headless {

namespace {

// The modifier keys (the left-hand ones; a name's modifier word is the key's
// name) and the control-key state bit each sets.
struct Modifier {
    const IO::UsKey& key;
    uint32_t flag;
};

constexpr Modifier Modifiers[] = {
    {IO::KnownKey(IO::UsKeyNamed("SHIFT")), IO::SHIFT_PRESSED},
    {IO::KnownKey(IO::UsKeyNamed("CTRL")), IO::LEFT_CTRL_PRESSED},
    {IO::KnownKey(IO::UsKeyNamed("ALT")), IO::LEFT_ALT_PRESSED},
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
        if (SameIgnoringCase(word, m.key.name)) return &m;
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

void SetPress(KeyPress& out, const IO::UsKey& key, uint8_t ch, uint32_t downState, uint32_t upState) {
    out.down = IO::KeyRecord{true, 1, key.virtualKeyCode, key.scanCode, ch, downState};
    out.up = IO::KeyRecord{false, 1, key.virtualKeyCode, key.scanCode, ch, upState};
}

bool CharacterPress(char c, uint32_t flags, KeyPress& out) {
    const IO::UsKey* key = IO::UsKeyTyping(static_cast<uint8_t>(c));
    if (key == nullptr) return false;
    bool shift = key->plain != static_cast<uint8_t>(c) || (flags & IO::SHIFT_PRESSED) != 0;
    if (shift) flags |= IO::SHIFT_PRESSED;
    uint8_t typed = shift ? key->shifted : key->plain;
    uint8_t ch = typed;
    bool ctrl = (flags & IO::LEFT_CTRL_PRESSED) != 0;
    bool alt = (flags & IO::LEFT_ALT_PRESSED) != 0;
    if (ctrl && alt) ch = 0;
    else if (ctrl) ch = ControlCharacterOf(static_cast<char>(typed));
    SetPress(out, *key, ch, flags, flags);
    return true;
}

// The named keys other than the modifiers (those are taken first).
bool NamedPress(std::string_view name, uint32_t flags, KeyPress& out) {
    const IO::UsKey* key = IO::UsKeyNamed(name);
    if (key == nullptr) return false;
    uint32_t state = flags | (key->enhanced ? IO::ENHANCED_KEY : 0);
    uint8_t ch = key->plain;
    if ((flags & IO::LEFT_CTRL_PRESSED) != 0) {
        if (key->virtualKeyCode == 0x0D) ch = 0x0A;  // Ctrl+Enter is a line feed
        if (key->virtualKeyCode == 0x08) ch = 0x7F;  // Ctrl+Backspace is DEL
    }
    SetPress(out, *key, ch, state, state);
    return true;
}

}  // namespace

bool KeyPressFor(std::string_view name, KeyPress& out) {
    uint32_t flags = 0;
    std::string_view key = StripModifiers(name, flags);
    if (key.empty()) return false;
    if (const Modifier* m = FindModifier(key)) {
        // A modifier alone: its own flag is set while it is down, clear in its key-up.
        SetPress(out, m->key, 0, flags | m->flag, flags);
        return true;
    }
    if (key.size() == 1) {
        unsigned char c = static_cast<unsigned char>(key[0]);
        return c > 0x20 && c < 0x7F && CharacterPress(key[0], flags, out);
    }
    return NamedPress(key, flags, out);
}

}  // namespace Headless
