// Key records made from SDL key events: the physical-keyboard values of the
// original console, US layout.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>
#include "platform/graph/sdl/detail/SdlKeys.h"

using Graph::detail::SdlKeyRecord;

namespace {

IO::KeyRecord Key(int scancode, uint16_t mod, bool down = true) {
    IO::KeyRecord r;
    EXPECT_TRUE(SdlKeyRecord(scancode, mod, down, r)) << scancode;
    return r;
}

}  // namespace

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
