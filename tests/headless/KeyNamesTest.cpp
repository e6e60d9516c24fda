// Script key names and the records they post: the physical-keyboard form
// that the console's key decision expects.
#include <gtest/gtest.h>

#include <string>

#include "headless/KeyNames.h"
#include "platform/console/IO.h"
#include "platform/console/InputQueue.h"
#include "tests/support/Keys.h"

namespace {

using Headless::KeyPress;
using Headless::KeyPressFor;

KeyPress Of(const std::string& name) {
    KeyPress press{};
    EXPECT_TRUE(KeyPressFor(name, press)) << name;
    return press;
}

// What IO.RdKey makes of the press: one or two characters.
std::string CharactersOf(const std::string& name) {
    IO::ClearInput();
    IO::ModuleInit();
    testsupport::PressKey(name);
    std::string out;
    out += static_cast<char>(IO::RdKey());
    if (out[0] == 0) out += static_cast<char>(IO::RdKey());
    IO::ClearInput();
    return out;
}

TEST(KeyNamesTest, EveryNamedKeyIsKnownInAnyLetterCase) {
    for (const char* name : {"UP", "DOWN", "LEFT", "RIGHT", "SPACE", "ENTER", "ESC", "TAB", "BACKSPACE", "HOME",
                             "END", "PGUP", "PGDN", "INS", "DEL", "F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8",
                             "F9", "F10", "F11", "F12", "SHIFT", "CTRL", "ALT", "up", "Space", "f12"}) {
        KeyPress press{};
        EXPECT_TRUE(KeyPressFor(name, press)) << name;
        EXPECT_TRUE(press.down.keyDown) << name;
        EXPECT_FALSE(press.up.keyDown) << name;
        EXPECT_EQ(press.down.virtualKeyCode, press.up.virtualKeyCode) << name;
    }
}

TEST(KeyNamesTest, EveryPrintableCharacterIsAKey) {
    for (int c = 0x21; c < 0x7F; ++c) {
        std::string name(1, static_cast<char>(c));
        KeyPress press{};
        ASSERT_TRUE(KeyPressFor(name, press)) << name;
        EXPECT_EQ(press.down.asciiChar, c) << name;
        EXPECT_NE(press.down.virtualKeyCode, 0) << name;
        EXPECT_NE(press.down.virtualScanCode, 0) << name;
    }
}

TEST(KeyNamesTest, UnknownNamesAreRefused) {
    KeyPress press{};
    for (const char* name : {"", "UPP", "F13", "F0", "CTRL+", "+UP", "SHIFT+UPP", "HYPER+a", "ab", "é", "\x7f"}) {
        EXPECT_FALSE(KeyPressFor(name, press)) << name;
    }
}

TEST(KeyNamesTest, CharactersAsTheConsoleDeliversThem) {
    EXPECT_EQ(CharactersOf("UP"), std::string("\0\x48", 2));
    EXPECT_EQ(CharactersOf("DOWN"), std::string("\0\x50", 2));
    EXPECT_EQ(CharactersOf("LEFT"), std::string("\0\x4B", 2));
    EXPECT_EQ(CharactersOf("RIGHT"), std::string("\0\x4D", 2));
    EXPECT_EQ(CharactersOf("q"), "q");
    EXPECT_EQ(CharactersOf("Q"), "Q");
    EXPECT_EQ(CharactersOf("SHIFT+a"), "A");
    EXPECT_EQ(CharactersOf("SHIFT+1"), "!");
    EXPECT_EQ(CharactersOf("*"), "*");
    EXPECT_EQ(CharactersOf("7"), "7");
    EXPECT_EQ(CharactersOf("SPACE"), " ");
    EXPECT_EQ(CharactersOf("ENTER"), "\r");
    EXPECT_EQ(CharactersOf("ESC"), "\x1B");
    EXPECT_EQ(CharactersOf("TAB"), "\t");
    EXPECT_EQ(CharactersOf("BACKSPACE"), "\b");
    EXPECT_EQ(CharactersOf("F1"), std::string("\0\x3B", 2));
    EXPECT_EQ(CharactersOf("CTRL+UP"), std::string("\0\x8D", 2));
    EXPECT_EQ(CharactersOf("CTRL+F2"), std::string("\0\x5F", 2));
    EXPECT_EQ(CharactersOf("ALT+HOME"), std::string("\0\x97", 2));
}

TEST(KeyNamesTest, ModifierStatesAndModifiersAlone) {
    EXPECT_EQ(Of("PGDN").down.controlKeyState, IO::ENHANCED_KEY);
    EXPECT_EQ(Of("SHIFT+a").down.controlKeyState, IO::SHIFT_PRESSED);
    EXPECT_EQ(Of("Q").down.controlKeyState, IO::SHIFT_PRESSED);
    EXPECT_EQ(Of("CTRL+c").down.asciiChar, 0x03);
    EXPECT_EQ(Of("CTRL+c").down.controlKeyState, IO::LEFT_CTRL_PRESSED);
    EXPECT_EQ(Of("ALT+x").down.asciiChar, 'x');
    EXPECT_EQ(Of("ALT+x").down.controlKeyState, IO::LEFT_ALT_PRESSED);
    EXPECT_EQ(Of("CTRL++").down.controlKeyState, IO::LEFT_CTRL_PRESSED | IO::SHIFT_PRESSED);
    EXPECT_EQ(Of("CTRL+SHIFT+UP").down.controlKeyState,
              IO::LEFT_CTRL_PRESSED | IO::SHIFT_PRESSED | IO::ENHANCED_KEY);

    // A modifier alone holds its own flag while down and has it clear when up.
    KeyPress shift = Of("SHIFT");
    EXPECT_EQ(shift.down.virtualScanCode, 0x2A);
    EXPECT_EQ(shift.down.controlKeyState, IO::SHIFT_PRESSED);
    EXPECT_EQ(shift.up.controlKeyState, 0u);
    EXPECT_EQ(Of("CTRL").down.virtualScanCode, 0x1D);
    EXPECT_EQ(Of("ALT").down.virtualScanCode, 0x38);
}

}  // namespace
