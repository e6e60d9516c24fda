// The web page's keys: the browser's key codes reach every key of the US
// table once, each the key its W3C code name means, and the fullscreen
// toggles never reach the program.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/console/UsKeyboard.h"
#include "platform/web/WebKeys.h"

namespace {

using Web::FindWebKey;
using Web::KeyOutcome;

// Every code the page can name, as browsers spell them.
std::vector<std::string> AllCodes() {
    std::vector<std::string> codes;
    for (char c = 'A'; c <= 'Z'; ++c) codes.push_back(std::string("Key") + c);
    for (char c = '0'; c <= '9'; ++c) {
        codes.push_back(std::string("Digit") + c);
        codes.push_back(std::string("Numpad") + c);
    }
    for (int f = 1; f <= 12; ++f) codes.push_back("F" + std::to_string(f));
    for (const char* code : {"Enter", "Escape", "Backspace", "Tab", "Space", "Minus", "Equal", "BracketLeft",
                             "BracketRight", "Backslash", "Semicolon", "Quote", "Backquote", "Comma", "Period",
                             "Slash", "CapsLock", "ScrollLock", "Insert", "Home", "PageUp", "Delete", "End",
                             "PageDown", "ArrowRight", "ArrowLeft", "ArrowDown", "ArrowUp", "NumLock",
                             "NumpadDivide", "NumpadMultiply", "NumpadSubtract", "NumpadAdd", "NumpadEnter",
                             "NumpadDecimal", "ControlLeft", "ShiftLeft", "AltLeft", "ControlRight", "ShiftRight",
                             "AltRight"})
        codes.push_back(code);
    return codes;
}

TEST(WebKeysTest, EveryKeyOfTheTableHasExactlyOneCode) {
    std::map<const IO::UsKey*, std::string> seen;
    for (const std::string& code : AllCodes()) {
        const IO::UsKey* key = FindWebKey(code);
        ASSERT_NE(key, nullptr) << code;
        EXPECT_TRUE(seen.emplace(key, code).second) << code << " and " << seen[key] << " give one key";
    }
    for (const IO::UsKey& key : IO::kUsKeyboard)
        EXPECT_TRUE(seen.count(&key)) << "no code reaches the key with scan code " << key.scanCode;
    for (const char* foreign : {"", "keya", "IntlBackslash", "MetaLeft", "ContextMenu", "Unidentified"})
        EXPECT_EQ(FindWebKey(foreign), nullptr) << foreign;
}

TEST(WebKeysTest, EachCodeIsTheKeyItsNameSays) {
    for (char c = 'A'; c <= 'Z'; ++c)
        EXPECT_EQ(FindWebKey(std::string("Key") + c)->plain, c - 'A' + 'a') << c;
    for (char c = '0'; c <= '9'; ++c) {
        EXPECT_EQ(FindWebKey(std::string("Digit") + c)->plain, c) << c;
        EXPECT_EQ(FindWebKey(std::string("Numpad") + c)->virtualKeyCode, 0x60 + (c - '0')) << c;
    }
    const std::map<std::string, char> typing = {
        {"Minus", '-'}, {"Equal", '='}, {"BracketLeft", '['}, {"BracketRight", ']'}, {"Backslash", '\\'},
        {"Semicolon", ';'}, {"Quote", '\''}, {"Backquote", '`'}, {"Comma", ','}, {"Period", '.'},
        {"Slash", '/'}, {"Space", ' '}, {"NumpadDivide", '/'}, {"NumpadMultiply", '*'},
        {"NumpadSubtract", '-'}, {"NumpadAdd", '+'}, {"NumpadDecimal", '.'}};
    for (const auto& [code, c] : typing) EXPECT_EQ(FindWebKey(code)->plain, c) << code;
    const std::map<std::string, std::string> named = {
        {"ArrowUp", "UP"}, {"ArrowDown", "DOWN"}, {"ArrowLeft", "LEFT"}, {"ArrowRight", "RIGHT"},
        {"PageUp", "PGUP"}, {"PageDown", "PGDN"}, {"Insert", "INS"}, {"Delete", "DEL"}, {"Escape", "ESC"},
        {"Enter", "ENTER"}, {"F1", "F1"}, {"F12", "F12"}, {"ControlLeft", "CTRL"}, {"AltLeft", "ALT"}};
    for (const auto& [code, name] : named) EXPECT_EQ(FindWebKey(code), IO::UsKeyNamed(name)) << code;
    // The right-hand modifiers and keypad Enter are the enhanced twins.
    EXPECT_TRUE(FindWebKey("ControlRight")->enhanced);
    EXPECT_TRUE(FindWebKey("AltRight")->enhanced);
    EXPECT_TRUE(FindWebKey("NumpadEnter")->enhanced);
    EXPECT_EQ(FindWebKey("ShiftRight")->scanCode, 0x36);
}

TEST(WebKeysTest, ModifiersAndLocksShapeTheRecord) {
    IO::KeyRecord r;
    ASSERT_TRUE(Web::WebKeyRecord("KeyQ", Web::kShift, true, r));
    EXPECT_EQ(r.asciiChar, 'Q');
    EXPECT_EQ(r.controlKeyState, IO::SHIFT_PRESSED);
    ASSERT_TRUE(Web::WebKeyRecord("KeyQ", Web::kCapsLock | Web::kShift, false, r));
    EXPECT_FALSE(r.keyDown);
    EXPECT_EQ(r.asciiChar, 'q');
    ASSERT_TRUE(Web::WebKeyRecord("KeyC", Web::kRightCtrl, true, r));
    EXPECT_EQ(r.asciiChar, 0x03);
    EXPECT_EQ(r.controlKeyState, IO::RIGHT_CTRL_PRESSED);
    // Keypad 8: the digit with Num Lock on, the up arrow's code without.
    ASSERT_TRUE(Web::WebKeyRecord("Numpad8", Web::kNumLock, true, r));
    EXPECT_EQ(r.asciiChar, '8');
    ASSERT_TRUE(Web::WebKeyRecord("Numpad8", 0, true, r));
    EXPECT_EQ(r.asciiChar, 0);
    EXPECT_EQ(r.virtualKeyCode, IO::UsKeyNamed("UP")->virtualKeyCode);
    ASSERT_TRUE(Web::WebKeyRecord("ArrowUp", 0, true, r));
    EXPECT_EQ(r.controlKeyState, IO::ENHANCED_KEY);
    EXPECT_FALSE(Web::WebKeyRecord("MetaLeft", 0, true, r));
}

// F11 and Alt+Enter switch fullscreen and never reach the program, their
// key-ups and repeats included; with other modifiers they are plain keys.
TEST(WebKeysTest, FullscreenTogglesAreKeptFromTheProgramUntilTheirKeyGoesUp) {
    Web::PageKeyboard keyboard;
    IO::KeyRecord r;
    EXPECT_EQ(keyboard.Take("F11", 0, true, false, r), KeyOutcome::ToggleFullscreen);
    EXPECT_EQ(keyboard.Take("F11", 0, true, true, r), KeyOutcome::Swallowed);
    EXPECT_EQ(keyboard.Take("F11", 0, false, false, r), KeyOutcome::Swallowed);
    EXPECT_EQ(keyboard.Take("F11", 0, false, false, r), KeyOutcome::Posted) << "a second key-up is the program's";

    EXPECT_EQ(keyboard.Take("AltLeft", Web::kLeftAlt, true, false, r), KeyOutcome::Posted);
    EXPECT_EQ(keyboard.Take("NumpadEnter", Web::kLeftAlt, true, false, r), KeyOutcome::ToggleFullscreen);
    // Alt goes up first: the Enter key-up that follows is still the toggle's.
    EXPECT_EQ(keyboard.Take("AltLeft", 0, false, false, r), KeyOutcome::Posted);
    EXPECT_EQ(keyboard.Take("NumpadEnter", 0, false, false, r), KeyOutcome::Swallowed);

    EXPECT_EQ(keyboard.Take("F11", Web::kLeftCtrl, true, false, r), KeyOutcome::Posted);
    EXPECT_EQ(keyboard.Take("Enter", Web::kRightAlt | Web::kShift, true, false, r), KeyOutcome::Posted);
    EXPECT_EQ(keyboard.Take("Enter", 0, true, false, r), KeyOutcome::Posted);
    EXPECT_EQ(r.asciiChar, 0x0D);
    EXPECT_EQ(keyboard.Take("Fn", 0, true, false, r), KeyOutcome::NotOurs);
}

}  // namespace
