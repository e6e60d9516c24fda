// Terminal byte decoding into key records (xterm conventions: CSI and SS3
// sequences with the "1;m" modifier parameter, Esc prefix for Alt, plus the
// Linux console's function keys).
#include "platform/console/KeyDecoder.h"

#include "platform/console/UsKeyboard.h"

namespace IO {
namespace {

constexpr uint8_t ESC = 0x1B;

using Key = const UsKey*;  // nullptr: no key

constexpr const UsKey& kUp = KnownKey(UsKeyNamed("UP"));
constexpr const UsKey& kDown = KnownKey(UsKeyNamed("DOWN"));
constexpr const UsKey& kRight = KnownKey(UsKeyNamed("RIGHT"));
constexpr const UsKey& kLeft = KnownKey(UsKeyNamed("LEFT"));
constexpr const UsKey& kHome = KnownKey(UsKeyNamed("HOME"));
constexpr const UsKey& kEnd = KnownKey(UsKeyNamed("END"));
constexpr const UsKey& kInsert = KnownKey(UsKeyNamed("INS"));
constexpr const UsKey& kDelete = KnownKey(UsKeyNamed("DEL"));
constexpr const UsKey& kPageUp = KnownKey(UsKeyNamed("PGUP"));
constexpr const UsKey& kPageDown = KnownKey(UsKeyNamed("PGDN"));
constexpr const UsKey& kEnter = KnownKey(UsKeyNamed("ENTER"));
constexpr const UsKey& kKeypadEnter = KnownKey(UsKeyAt(kEnter.scanCode, true));
constexpr const UsKey& kTab = KnownKey(UsKeyNamed("TAB"));
constexpr const UsKey& kBackspace = KnownKey(UsKeyNamed("BACKSPACE"));
constexpr const UsKey& kSpace = KnownKey(UsKeyNamed("SPACE"));
constexpr const UsKey& kEsc = KnownKey(UsKeyNamed("ESC"));
// The keys whose Ctrl combinations send 1CH..1FH.
constexpr const UsKey& kBackslashKey = KnownKey(UsKeyTyping('\\'));
constexpr const UsKey& kRightBracketKey = KnownKey(UsKeyTyping(']'));
constexpr const UsKey& kSixKey = KnownKey(UsKeyTyping('6'));
constexpr const UsKey& kMinusKey = KnownKey(UsKeyTyping('-'));

// F1..F12.
Key FunctionKey(int n) {
    static constexpr Key kKeys[12] = {
        &KnownKey(UsKeyNamed("F1")), &KnownKey(UsKeyNamed("F2")),  &KnownKey(UsKeyNamed("F3")),
        &KnownKey(UsKeyNamed("F4")), &KnownKey(UsKeyNamed("F5")),  &KnownKey(UsKeyNamed("F6")),
        &KnownKey(UsKeyNamed("F7")), &KnownKey(UsKeyNamed("F8")),  &KnownKey(UsKeyNamed("F9")),
        &KnownKey(UsKeyNamed("F10")), &KnownKey(UsKeyNamed("F11")), &KnownKey(UsKeyNamed("F12"))};
    return kKeys[n - 1];
}

KeyRecord MakeKey(const UsKey& k, uint8_t ch, uint32_t state) {
    KeyRecord key;
    key.keyDown = true;
    key.repeatCount = 1;
    key.virtualKeyCode = k.virtualKeyCode;
    key.virtualScanCode = k.scanCode;
    key.asciiChar = ch;
    key.controlKeyState = state | (k.enhanced ? ENHANCED_KEY : 0);
    return key;
}

KeyRecord EscKey(uint32_t state) { return MakeKey(kEsc, kEsc.plain, state); }

// Modifier parameter m = 1 + Shift(1) + Alt(2) + Ctrl(4) + Meta(8); Meta is
// ignored. A missing parameter, 0 or 1 means none. False for values that
// no terminal sends.
bool ModifierState(int m, uint32_t& state) {
    state = 0;
    if (m <= 1) return true;
    if (m > 16) return false;
    int bits = (m - 1) & 7;
    if (bits & 1) state |= SHIFT_PRESSED;
    if (bits & 2) state |= LEFT_ALT_PRESSED;
    if (bits & 4) state |= LEFT_CTRL_PRESSED;
    return true;
}

// The key of a letter-final sequence: arrows, Home, End, F1..F4, Shift+Tab,
// keypad Enter.
Key LetterFinalKey(uint8_t final) {
    switch (final) {
        case 'A': return &kUp;
        case 'B': return &kDown;
        case 'C': return &kRight;
        case 'D': return &kLeft;
        case 'H': return &kHome;
        case 'F': return &kEnd;
        case 'P': return FunctionKey(1);
        case 'Q': return FunctionKey(2);
        case 'R': return FunctionKey(3);
        case 'S': return FunctionKey(4);
        default: return nullptr;
    }
}

// The key of "CSI n ~".
Key TildeKey(int n) {
    switch (n) {
        case 1: case 7: return &kHome;
        case 2: return &kInsert;
        case 3: return &kDelete;
        case 4: case 8: return &kEnd;
        case 5: return &kPageUp;
        case 6: return &kPageDown;
        case 11: case 12: case 13: case 14: case 15: return FunctionKey(n - 10);
        case 17: case 18: case 19: case 20: case 21: return FunctionKey(n - 11);
        case 23: case 24: return FunctionKey(n - 12);
        default: return nullptr;
    }
}

// Splits "a;b" into at most two numbers (missing ones are -1). False for
// private or unknown parameter forms.
bool ParseParameters(const char* text, std::size_t length, int values[2], int& count) {
    values[0] = values[1] = -1;
    count = length == 0 ? 0 : 1;
    for (std::size_t k = 0; k < length; ++k) {
        char c = text[k];
        if (c == ';') {
            if (count == 2) return false;
            ++count;
        } else if (c >= '0' && c <= '9') {
            int& v = values[count - 1];
            v = v < 0 ? 0 : v;
            if (v < 10000) v = v * 10 + (c - '0');
        } else {
            return false;  // '?', '<', '=', '>' or ':': not a key
        }
    }
    return true;
}

}  // namespace

void KeyDecoder::Feed(const uint8_t* bytes, std::size_t count, std::vector<KeyRecord>& out) {
    for (std::size_t k = 0; k < count; ++k) Feed(bytes[k], out);
}

void KeyDecoder::Feed(uint8_t byte, std::vector<KeyRecord>& out) {
    KeyRecord key;
    switch (state_) {
        case State::Ground:
            if (byte == ESC) {
                state_ = State::Escape;
            } else if (PlainKey(byte, key)) {
                out.push_back(key);
            }
            return;
        case State::Escape:
            if (byte == '[' || byte == 'O') {
                StartSequence(byte, false);
            } else if (byte == ESC) {
                state_ = State::EscapeEscape;
            } else {
                // Esc before a key is Alt with that key; an unknown byte
                // drops both.
                state_ = State::Ground;
                if (PlainKey(byte, key)) {
                    key.controlKeyState |= LEFT_ALT_PRESSED;
                    out.push_back(key);
                }
            }
            return;
        case State::EscapeEscape:
            if (byte == '[' || byte == 'O') {
                StartSequence(byte, true);  // Alt with a key sequence
            } else {
                out.push_back(EscKey(LEFT_ALT_PRESSED));
                state_ = State::Ground;
                Feed(byte, out);
            }
            return;
        case State::Sequence:
            FeedSequence(byte, out);
            return;
        case State::LinuxFunctionKey:
            FeedLinuxFunctionKey(byte, out);
            return;
    }
}

void KeyDecoder::TimePassed(std::vector<KeyRecord>& out) {
    if (state_ == State::Escape) out.push_back(EscKey(0));
    if (state_ == State::EscapeEscape) out.push_back(EscKey(LEFT_ALT_PRESSED));
    // A sequence cut off part-way is dropped whole.
    state_ = State::Ground;
}

void KeyDecoder::StartSequence(uint8_t introducer, bool alt) {
    state_ = State::Sequence;
    introducer_ = introducer;
    alt_ = alt;
    paramLength_ = 0;
    malformed_ = false;
}

// Collects parameter bytes 30H..3FH and intermediate bytes 20H..2FH up to a
// final byte 40H..7EH. Any other byte breaks the sequence off: the sequence
// is dropped and the byte is read afresh.
void KeyDecoder::FeedSequence(uint8_t byte, std::vector<KeyRecord>& out) {
    if (introducer_ == '[' && paramLength_ == 0 && !malformed_ && byte == '[') {
        state_ = State::LinuxFunctionKey;
        return;
    }
    if (byte >= 0x30 && byte <= 0x3F) {
        if (paramLength_ < kMaxParameterBytes) {
            params_[paramLength_++] = char(byte);
        } else {
            malformed_ = true;
        }
    } else if (byte >= 0x20 && byte <= 0x2F) {
        malformed_ = true;  // no key sequence has intermediate bytes
    } else if (byte >= 0x40 && byte <= 0x7E) {
        state_ = State::Ground;
        if (!malformed_) FinishSequence(byte, out);
    } else {
        state_ = State::Ground;
        Feed(byte, out);
    }
}

// "CSI [ A" .. "CSI [ E": F1..F5 of the Linux console.
void KeyDecoder::FeedLinuxFunctionKey(uint8_t byte, std::vector<KeyRecord>& out) {
    state_ = State::Ground;
    if (byte >= 'A' && byte <= 'E') {
        out.push_back(MakeKey(*FunctionKey(byte - 'A' + 1), 0, alt_ ? LEFT_ALT_PRESSED : 0));
    } else if (byte < 0x40 || byte > 0x7E) {
        Feed(byte, out);
    }
}

void KeyDecoder::FinishSequence(uint8_t final, std::vector<KeyRecord>& out) {
    int values[2];
    int count = 0;
    if (!ParseParameters(params_, paramLength_, values, count)) return;
    // CSI carries the modifier as the second parameter ("1;m"); SS3 as the
    // only one ("O m P", sent by some terminals for modified F1..F4).
    int first = introducer_ == '[' ? values[0] : -1;
    int modifier = introducer_ == '[' ? values[1] : values[0];
    if (introducer_ == 'O' && count > 1) return;
    uint32_t state = 0;
    if (!ModifierState(modifier, state)) return;
    if (alt_) state |= LEFT_ALT_PRESSED;

    Key key = nullptr;
    if (introducer_ == 'O' && final == 'M') {
        // Keypad Enter in application keypad mode.
        out.push_back(MakeKey(kKeypadEnter, kKeypadEnter.plain, state));
        return;
    }
    if (introducer_ == '[' && final == 'Z' && first <= 1) {
        out.push_back(MakeKey(kTab, kTab.plain, SHIFT_PRESSED | state));
        return;
    }
    if (final == '~') {
        if (introducer_ == '[') key = TildeKey(first);
    } else if (first <= 1) {
        key = LetterFinalKey(final);
    }
    if (key == nullptr) return;  // unknown: dropped whole
    out.push_back(MakeKey(*key, 0, state));
}

// The key record of a byte outside any sequence; false for bytes that no
// key sends (80H and above, including every byte of a UTF-8 character).
bool KeyDecoder::PlainKey(uint8_t byte, KeyRecord& key) const {
    switch (byte) {
        case 0x0D: key = MakeKey(kEnter, 0x0D, 0); return true;
        case 0x0A:
            key = options_.lineFeedIsEnter ? MakeKey(kEnter, 0x0D, 0) : MakeKey(kEnter, 0x0A, LEFT_CTRL_PRESSED);
            return true;
        case 0x09: key = MakeKey(kTab, 0x09, 0); return true;
        case 0x7F: key = MakeKey(kBackspace, 0x08, 0); return true;
        case 0x00: key = MakeKey(kSpace, 0, LEFT_CTRL_PRESSED); return true;  // Ctrl+Space
        case 0x1B: key = EscKey(0); return true;
        case 0x1C: key = MakeKey(kBackslashKey, byte, LEFT_CTRL_PRESSED); return true;
        case 0x1D: key = MakeKey(kRightBracketKey, byte, LEFT_CTRL_PRESSED); return true;
        case 0x1E: key = MakeKey(kSixKey, byte, LEFT_CTRL_PRESSED); return true;  // Ctrl+^
        case 0x1F: key = MakeKey(kMinusKey, byte, LEFT_CTRL_PRESSED); return true;  // Ctrl+_
        default: break;
    }
    if (byte >= 0x01 && byte <= 0x1A) {
        // Ctrl+letter (0x08 is Ctrl+H, as Backspace sends 7FH).
        key = MakeKey(*UsKeyTyping(uint8_t(byte + 0x60)), byte, LEFT_CTRL_PRESSED);
        return true;
    }
    if (const UsKey* typing = UsKeyTyping(byte)) {
        // Shift only for the key's shifted character (the blank is both).
        key = MakeKey(*typing, byte, byte == typing->plain ? 0 : SHIFT_PRESSED);
        return true;
    }
    return false;
}

}  // namespace IO
