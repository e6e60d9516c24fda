// Terminal byte sequences into key records.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/console/KeyDecoder.h"
#include "platform/console/UsKeyboard.h"

using namespace IO;

namespace {

struct Key {
    uint16_t vk, scan;
    uint8_t ch;
    uint32_t state;
    bool operator==(const Key&) const = default;
};

void PrintTo(const Key& k, std::ostream* os) {
    *os << std::hex << "{vk " << k.vk << " scan " << k.scan << " ch " << int(k.ch) << " state " << k.state << "}";
}

std::vector<Key> Keys(const std::vector<KeyRecord>& records) {
    std::vector<Key> keys;
    for (const KeyRecord& r : records) {
        EXPECT_TRUE(r.keyDown && r.repeatCount == 1);
        keys.push_back({r.virtualKeyCode, r.virtualScanCode, r.asciiChar, r.controlKeyState});
    }
    return keys;
}

// Feeds the bytes in one go, then lets the lone-Esc wait pass.
std::vector<Key> Decode(const std::string& bytes, KeyDecoder::Options options = {}) {
    KeyDecoder decoder(options);
    std::vector<KeyRecord> out;
    decoder.Feed(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), out);
    decoder.TimePassed(out);
    return Keys(out);
}

constexpr uint32_t E = ENHANCED_KEY, SHIFT = SHIFT_PRESSED, ALT = LEFT_ALT_PRESSED, CTRL = LEFT_CTRL_PRESSED;
const Key kUp{0x26, 0x48, 0, E}, kDown{0x28, 0x50, 0, E}, kRight{0x27, 0x4D, 0, E}, kLeft{0x25, 0x4B, 0, E};
const Key kHome{0x24, 0x47, 0, E}, kEnd{0x23, 0x4F, 0, E}, kEsc{0x1B, 0x01, 0x1B, 0}, kQ{0x51, 0x10, 'q', 0};

Key With(Key k, uint32_t extra) { return {k.vk, k.scan, k.ch, k.state | extra}; }
Key F(int n) {
    const uint16_t scans[12] = {0x3B, 0x3C, 0x3D, 0x3E, 0x3F, 0x40, 0x41, 0x42, 0x43, 0x44, 0x57, 0x58};
    return {uint16_t(0x6F + n), scans[n - 1], 0, 0};
}

void ExpectEach(const std::vector<std::pair<std::string, Key>>& cases) {
    for (const auto& [bytes, key] : cases) {
        EXPECT_EQ(Decode(bytes), std::vector<Key>{key}) << testing::PrintToString(bytes);
    }
}

}  // namespace

TEST(KeyDecoder, NavigationKeysInEveryFormAreEnhanced) {
    ExpectEach({{"\x1b[A", kUp}, {"\x1b[B", kDown}, {"\x1b[C", kRight}, {"\x1b[D", kLeft},
                {"\x1bOA", kUp}, {"\x1bOB", kDown}, {"\x1bOC", kRight}, {"\x1bOD", kLeft},
                {"\x1b[H", kHome}, {"\x1bOH", kHome}, {"\x1b[1~", kHome}, {"\x1b[7~", kHome},
                {"\x1b[F", kEnd}, {"\x1bOF", kEnd}, {"\x1b[4~", kEnd}, {"\x1b[8~", kEnd},
                {"\x1b[2~", {0x2D, 0x52, 0, E}}, {"\x1b[3~", {0x2E, 0x53, 0, E}},
                {"\x1b[5~", {0x21, 0x49, 0, E}}, {"\x1b[6~", {0x22, 0x51, 0, E}},
                {"\x1bOM", {0x0D, 0x1C, 0x0D, E}}});  // keypad Enter
}

TEST(KeyDecoder, FunctionKeysInEveryForm) {
    ExpectEach({{"\x1bOP", F(1)}, {"\x1bOQ", F(2)}, {"\x1bOR", F(3)}, {"\x1bOS", F(4)},
                {"\x1b[11~", F(1)}, {"\x1b[14~", F(4)}, {"\x1b[15~", F(5)}, {"\x1b[17~", F(6)},
                {"\x1b[18~", F(7)}, {"\x1b[19~", F(8)}, {"\x1b[20~", F(9)}, {"\x1b[21~", F(10)},
                {"\x1b[23~", F(11)}, {"\x1b[24~", F(12)}, {"\x1b[[A", F(1)}, {"\x1b[[E", F(5)}});
}

TEST(KeyDecoder, ModifierParameterGivesShiftAltCtrlAndIgnoresMeta) {
    ExpectEach({{"\x1b[1;2A", With(kUp, SHIFT)}, {"\x1b[1;3B", With(kDown, ALT)},
                {"\x1b[1;4C", With(kRight, SHIFT | ALT)}, {"\x1b[1;5D", With(kLeft, CTRL)},
                {"\x1b[1;6H", With(kHome, SHIFT | CTRL)}, {"\x1b[1;7F", With(kEnd, ALT | CTRL)},
                {"\x1b[1;8A", With(kUp, SHIFT | ALT | CTRL)}, {"\x1b[1;9A", kUp},
                {"\x1b[1;13A", With(kUp, CTRL)}, {"\x1b[1;1A", kUp},
                {"\x1b[5;5~", {0x21, 0x49, 0, E | CTRL}}, {"\x1b[2;3~", {0x2D, 0x52, 0, E | ALT}},
                {"\x1b[15;2~", With(F(5), SHIFT)}, {"\x1b[1;5P", With(F(1), CTRL)},
                {"\x1b[1;3S", With(F(4), ALT)}, {"\x1bO2Q", With(F(2), SHIFT)},
                {"\x1b[Z", {0x09, 0x0F, 0x09, SHIFT}}});
}

TEST(KeyDecoder, EscPrefixMeansAlt) {
    ExpectEach({{"\x1b" "a", {0x41, 0x1E, 'a', ALT}}, {"\x1b" "A", {0x41, 0x1E, 'A', ALT | SHIFT}},
                {"\x1b" "5", {0x35, 0x06, '5', ALT}}, {"\x1b\r", {0x0D, 0x1C, 0x0D, ALT}},
                {"\x1b\x1b", With(kEsc, ALT)}, {"\x1b\x1b[A", With(kUp, ALT)},
                {"\x1b\x1b[1;5A", With(kUp, ALT | CTRL)}});
    EXPECT_EQ(Decode("\x1b\x1bq"), (std::vector<Key>{With(kEsc, ALT), kQ}));
}

TEST(KeyDecoder, LoneEscOnlyAfterTheWaitAndSplitSequencesStayWhole) {
    KeyDecoder decoder;
    std::vector<KeyRecord> out;
    decoder.Feed(0x1B, out);
    EXPECT_TRUE(out.empty() && decoder.AwaitingMore());
    decoder.TimePassed(out);
    decoder.Feed('q', out);  // after the wait: a key of its own, not Alt+q
    decoder.TimePassed(out);  // nothing held: nothing happens
    for (char c : std::string("\x1b[1;5A")) decoder.Feed(uint8_t(c), out);
    EXPECT_EQ(Keys(out), (std::vector<Key>{kEsc, kQ, With(kUp, CTRL)}));
}

TEST(KeyDecoder, CutOffAndUnknownSequencesAreDroppedWhole) {
    for (std::string cut : {"\x1b[", "\x1bO", "\x1b[1;", "\x1b[15", "\x1b[[", "\x1b\x1b["}) {
        KeyDecoder decoder;
        std::vector<KeyRecord> out;
        decoder.Feed(reinterpret_cast<const uint8_t*>(cut.data()), cut.size(), out);
        decoder.TimePassed(out);
        decoder.Feed('q', out);
        EXPECT_EQ(Keys(out), std::vector<Key>{kQ}) << testing::PrintToString(cut);
    }
    for (std::string unknown : {"\x1b[99~", "\x1b[16~", "\x1b[?1;2c", "\x1b[<0;10;20M", "\x1b[I",
                                "\x1b[1;2;3A", "\x1b[1;77A", "\x1b[2A", "\x1b[1 q", "\x1bOx",
                                "\x1bO1;2P", "\x1b[1:2A", "\x1b[[Z", "\x1b[200~"}) {
        EXPECT_EQ(Decode(unknown + "q"), std::vector<Key>{kQ}) << testing::PrintToString(unknown);
    }
    EXPECT_EQ(Decode("\x1b[" + std::string(1000, '1') + "~q"), std::vector<Key>{kQ});
    // A byte that cannot belong to a sequence ends it and is read afresh.
    EXPECT_EQ(Decode("\x1b[1\x1b[B"), std::vector<Key>{kDown});
    EXPECT_EQ(Decode("\x1b[12\r"), (std::vector<Key>{{0x0D, 0x1C, 0x0D, 0}}));
}

TEST(KeyDecoder, PlainBytes) {
    ExpectEach({{"\r", {0x0D, 0x1C, 0x0D, 0}}, {"\n", {0x0D, 0x1C, 0x0A, CTRL}},
                {"\t", {0x09, 0x0F, 0x09, 0}}, {"\x7f", {0x08, 0x0E, 0x08, 0}},
                {"\x08", {0x48, 0x23, 0x08, CTRL}}, {"\x01", {0x41, 0x1E, 0x01, CTRL}},
                {"\x1a", {0x5A, 0x2C, 0x1A, CTRL}}, {"\x1c", {0xDC, 0x2B, 0x1C, CTRL}},
                {std::string(1, '\0'), {0x20, 0x39, 0, CTRL}}, {" ", {0x20, 0x39, 0x20, 0}},
                {"a", {0x41, 0x1E, 'a', 0}}, {"M", {0x4D, 0x32, 'M', SHIFT}},
                {"0", {0x30, 0x0B, '0', 0}}, {"!", {0x31, 0x02, '!', SHIFT}},
                {"~", {0xC0, 0x29, '~', SHIFT}}, {"/", {0xBF, 0x35, '/', 0}}});
    KeyDecoder::Options pipe;
    pipe.lineFeedIsEnter = true;
    EXPECT_EQ(Decode("\n", pipe), (std::vector<Key>{{0x0D, 0x1C, 0x0D, 0}}));
    // No key sends bytes of 80H and above (UTF-8 characters among them).
    EXPECT_EQ(Decode("\xc3\xa9\x80\xff\x1b\xe9q"), std::vector<Key>{kQ});
}

// The keyboard table itself: a character typed by two keys, a key code that
// is not the character's, or two keys at one position would send a key source
// a wrong record.
TEST(KeyDecoder, UsKeyboardTypesEachCharacterOnceAndTheTerminalSendsThatKey) {
    for (int c = 0x20; c <= 0x7E; ++c) {
        const UsKey* found = nullptr;
        int keys = 0;
        for (const UsKey& key : kUsKeyboard) {
            if (IsKeypadKey(key) || (key.plain != c && key.shifted != c)) continue;
            found = &key;
            ++keys;
        }
        ASSERT_EQ(keys, 1) << "character " << char(c);
        bool upper = c >= 'A' && c <= 'Z', lower = c >= 'a' && c <= 'z', digit = c >= '0' && c <= '9';
        if (upper || digit) {
            EXPECT_EQ(found->virtualKeyCode, c) << char(c);
        }
        if (lower) {
            EXPECT_EQ(found->shifted, c - 'a' + 'A') << char(c);
        }
        // The terminal's byte: the key's record, with Shift for its upper character.
        Key expected{found->virtualKeyCode, found->scanCode, uint8_t(c),
                     c == found->plain ? 0u : SHIFT};
        EXPECT_EQ(Decode(std::string(1, char(c))), std::vector<Key>{expected}) << char(c);
    }
    for (const UsKey& a : kUsKeyboard) {
        for (const UsKey& b : kUsKeyboard) {
            if (&a == &b) break;
            EXPECT_FALSE(a.scanCode == b.scanCode && a.enhanced == b.enhanced) << std::hex << a.scanCode;
            if (a.name && b.name) {
                EXPECT_STRNE(a.name, b.name);
            }
        }
        // Keys with a character of their own carry it with and without Shift,
        // except the keypad's digits, whose Shift gives the navigation key.
        EXPECT_EQ(a.navigationVk != 0, a.plain != 0 && a.shifted == 0) << std::hex << a.scanCode;
    }
}

TEST(KeyDecoder, GarbageNeverCrashesAndTheDecoderRecovers) {
    KeyDecoder decoder;
    std::vector<KeyRecord> out;
    uint32_t x = 12345;
    for (int k = 0; k < 200000; ++k) {
        x = x * 1103515245u + 12345u;
        uint32_t pick = (x >> 8) % 13;  // plenty of sequence starts among the noise
        decoder.Feed(pick == 0 ? 0x1B : pick == 1 ? '[' : uint8_t(x >> 16), out);
        if (k % 997 == 0) decoder.TimePassed(out);
    }
    for (const KeyRecord& r : out) ASSERT_NE(r.virtualKeyCode, 0);
    decoder.TimePassed(out);
    out.clear();
    decoder.Feed('q', out);
    EXPECT_EQ(Keys(out), std::vector<Key>{kQ});
}
