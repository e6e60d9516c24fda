// Key records made from SDL key events: the physical-keyboard values of the
// original console, US layout.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "headless/KeyNames.h"
#include "platform/console/KeyDecoder.h"
#include "platform/sdl/detail/SdlKeys.h"

using Graph::detail::SdlKeyRecord;

namespace {

IO::KeyRecord Key(int scancode, uint16_t mod, bool down = true) {
    IO::KeyRecord r;
    EXPECT_TRUE(SdlKeyRecord(scancode, mod, down, r)) << scancode;
    return r;
}

auto Fields(const IO::KeyRecord& r) {
    return std::make_tuple(r.keyDown, r.virtualKeyCode, r.virtualScanCode, int(r.asciiChar), r.controlKeyState);
}

// The terminal's key-down record of bytes, or nothing when they make none.
std::vector<IO::KeyRecord> Terminal(const std::string& bytes) {
    IO::KeyDecoder decoder;
    std::vector<IO::KeyRecord> out;
    decoder.Feed(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), out);
    decoder.TimePassed(out);
    return out;
}

}  // namespace

// Every SDL key is the key SDL itself names for the scancode, and gives the
// record that the headless script's name and the terminal's bytes for that
// key give: plain, and with Shift for the character keys.
TEST(SdlKeys, EachKeyIsTheOneSdlNamesAndMatchesTheScriptAndTheTerminal) {
    // SDL's key names that differ from the script's, and the terminal's bytes
    // of the named keys (the modifiers alone send none).
    const std::map<std::string, std::string> scriptName = {
        {"Return", "ENTER"}, {"Escape", "ESC"}, {"Insert", "INS"}, {"PageUp", "PGUP"},
        {"Delete", "DEL"}, {"PageDown", "PGDN"}, {"Left Ctrl", "CTRL"}, {"Left Shift", "SHIFT"},
        {"Left Alt", "ALT"}};
    const std::map<std::string, std::string> terminal = {
        {"ENTER", "\r"}, {"ESC", "\x1b"}, {"BACKSPACE", "\x7f"}, {"TAB", "\t"}, {"SPACE", " "},
        {"UP", "\x1b[A"}, {"DOWN", "\x1b[B"}, {"RIGHT", "\x1b[C"}, {"LEFT", "\x1b[D"},
        {"HOME", "\x1b[H"}, {"END", "\x1b[F"}, {"INS", "\x1b[2~"}, {"DEL", "\x1b[3~"},
        {"PGUP", "\x1b[5~"}, {"PGDN", "\x1b[6~"}, {"F1", "\x1bOP"}, {"F2", "\x1bOQ"},
        {"F3", "\x1bOR"}, {"F4", "\x1bOS"}, {"F5", "\x1b[15~"}, {"F6", "\x1b[17~"},
        {"F7", "\x1b[18~"}, {"F8", "\x1b[19~"}, {"F9", "\x1b[20~"}, {"F10", "\x1b[21~"},
        {"F11", "\x1b[23~"}, {"F12", "\x1b[24~"}};
    std::set<std::tuple<int, int, int, int, int>> seen;  // no two SDL keys give one record
    int scripted = 0, typed = 0;
    for (int sc = 0; sc < SDL_NUM_SCANCODES; ++sc) {
        IO::KeyRecord plain, numLock, shifted;
        if (!SdlKeyRecord(sc, 0, true, plain)) continue;
        ASSERT_TRUE(SdlKeyRecord(sc, KMOD_NUM, true, numLock));
        ASSERT_TRUE(SdlKeyRecord(sc, KMOD_LSHIFT, true, shifted));
        const std::string sdlName = SDL_GetScancodeName(static_cast<SDL_Scancode>(sc));
        EXPECT_TRUE(seen.insert({plain.virtualKeyCode, plain.virtualScanCode, numLock.virtualKeyCode,
                                 plain.controlKeyState, numLock.asciiChar}).second)
            << sdlName;
        if (sdlName.rfind("Keypad ", 0) == 0 && sdlName.size() == 8) {
            EXPECT_EQ(numLock.asciiChar, sdlName[7]) << sdlName;
            continue;
        }
        std::string name = sdlName;
        if (name.size() == 1) {
            // A character key: SDL names it by its character, upper case.
            ++typed;
            name[0] = char(std::tolower(static_cast<unsigned char>(name[0])));
            EXPECT_EQ(plain.asciiChar, name[0]) << sdlName;
        } else {
            if (scriptName.count(name)) name = scriptName.at(name);
            for (char& c : name) c = char(std::toupper(static_cast<unsigned char>(c)));
        }
        Headless::KeyPress press;
        if (!Headless::KeyPressFor(name, press)) continue;  // no script name: lock keys, right-hand modifiers
        ++scripted;
        // Key-up records: a modifier's own flag is clear in both.
        IO::KeyRecord up;
        ASSERT_TRUE(SdlKeyRecord(sc, 0, false, up));
        EXPECT_EQ(Fields(up), Fields(press.up)) << sdlName;
        std::string bytes = name.size() == 1 ? name : terminal.count(name) ? terminal.at(name) : "";
        if (!bytes.empty()) {
            EXPECT_EQ(Terminal(bytes).size(), 1u) << sdlName;
            for (const IO::KeyRecord& r : Terminal(bytes)) EXPECT_EQ(Fields(r), Fields(plain)) << sdlName;
        }
        if (name.size() == 1) {
            ASSERT_TRUE(Headless::KeyPressFor("SHIFT+" + name, press));
            EXPECT_EQ(Fields(shifted), Fields(press.down)) << sdlName;
            for (const IO::KeyRecord& r : Terminal(std::string(1, char(shifted.asciiChar))))
                EXPECT_EQ(Fields(r), Fields(shifted)) << sdlName;
        }
    }
    // The letters, digits and punctuation, and the script's 30 named keys.
    EXPECT_EQ(typed, 47);
    EXPECT_EQ(scripted, 47 + 30);
}

TEST(SdlKeys, LettersFollowShiftCapsAndCtrl) {
    EXPECT_EQ(Key(SDL_SCANCODE_A, 0).asciiChar, 'a');
    EXPECT_EQ(Key(SDL_SCANCODE_A, 0).virtualKeyCode, 0x41);
    EXPECT_EQ(Key(SDL_SCANCODE_A, 0).virtualScanCode, 0x1E);
    EXPECT_EQ(Key(SDL_SCANCODE_Q, KMOD_LSHIFT).asciiChar, 'Q');
    EXPECT_EQ(Key(SDL_SCANCODE_Q, KMOD_CAPS).asciiChar, 'Q');
    EXPECT_EQ(Key(SDL_SCANCODE_Q, KMOD_CAPS | KMOD_RSHIFT).asciiChar, 'q');
    EXPECT_EQ(Key(SDL_SCANCODE_Q, KMOD_CAPS | KMOD_RSHIFT).controlKeyState,
              IO::CAPSLOCK_ON | IO::SHIFT_PRESSED);
    EXPECT_EQ(Key(SDL_SCANCODE_C, KMOD_LCTRL).asciiChar, 0x03);
    EXPECT_EQ(Key(SDL_SCANCODE_C, KMOD_LCTRL | KMOD_LALT).asciiChar, 0);
    EXPECT_EQ(Key(SDL_SCANCODE_X, KMOD_LALT).asciiChar, 'x');
    EXPECT_EQ(Key(SDL_SCANCODE_2, KMOD_LSHIFT).asciiChar, '@');
    EXPECT_EQ(Key(SDL_SCANCODE_SLASH, KMOD_LSHIFT).asciiChar, '?');
}

TEST(SdlKeys, NavigationBlockAndRightHandModifiersAreEnhanced) {
    const IO::KeyRecord up = Key(SDL_SCANCODE_UP, KMOD_NUM);
    EXPECT_EQ(up.virtualKeyCode, 0x26);
    EXPECT_EQ(up.virtualScanCode, 0x48);
    EXPECT_EQ(up.asciiChar, 0);
    EXPECT_EQ(up.controlKeyState, IO::ENHANCED_KEY | IO::NUMLOCK_ON);
    const IO::KeyRecord rctrl = Key(SDL_SCANCODE_RCTRL, KMOD_RCTRL);
    EXPECT_EQ(rctrl.virtualKeyCode, 0x11);
    EXPECT_EQ(rctrl.controlKeyState, IO::RIGHT_CTRL_PRESSED | IO::ENHANCED_KEY);
    // A modifier's own key-up no longer carries its flag.
    EXPECT_EQ(Key(SDL_SCANCODE_LSHIFT, 0, false).controlKeyState, 0u);
    EXPECT_EQ(Key(SDL_SCANCODE_RSHIFT, KMOD_RSHIFT).virtualScanCode, 0x36);
    EXPECT_EQ(Key(SDL_SCANCODE_RSHIFT, KMOD_RSHIFT).controlKeyState, IO::SHIFT_PRESSED);
    EXPECT_EQ(Key(SDL_SCANCODE_RALT, KMOD_RALT).controlKeyState, IO::RIGHT_ALT_PRESSED | IO::ENHANCED_KEY);
}

TEST(SdlKeys, EnterKeysAndTheKeypad) {
    EXPECT_EQ(Key(SDL_SCANCODE_RETURN, 0).asciiChar, 0x0D);
    EXPECT_EQ(Key(SDL_SCANCODE_RETURN, 0).controlKeyState, 0u);
    EXPECT_EQ(Key(SDL_SCANCODE_RETURN, KMOD_LCTRL).asciiChar, 0x0A);
    EXPECT_EQ(Key(SDL_SCANCODE_KP_ENTER, 0).controlKeyState, IO::ENHANCED_KEY);
    EXPECT_EQ(Key(SDL_SCANCODE_KP_8, KMOD_NUM).virtualKeyCode, 0x68);
    EXPECT_EQ(Key(SDL_SCANCODE_KP_8, KMOD_NUM).asciiChar, '8');
    EXPECT_EQ(Key(SDL_SCANCODE_KP_8, 0).virtualKeyCode, 0x26);          // NumLock off: Up
    EXPECT_EQ(Key(SDL_SCANCODE_KP_8, 0).controlKeyState, 0u);           // not the enhanced Up
    EXPECT_EQ(Key(SDL_SCANCODE_KP_8, KMOD_NUM | KMOD_LSHIFT).asciiChar, 0);
    EXPECT_EQ(Key(SDL_SCANCODE_KP_5, 0).virtualKeyCode, 0x0C);
    EXPECT_EQ(Key(SDL_SCANCODE_KP_DIVIDE, 0).controlKeyState, IO::ENHANCED_KEY);
    IO::KeyRecord r;
    EXPECT_FALSE(SdlKeyRecord(SDL_SCANCODE_APPLICATION, 0, true, r));
    EXPECT_FALSE(SdlKeyRecord(-1, 0, true, r));
    EXPECT_FALSE(SdlKeyRecord(100000, 0, true, r));
}
