// Keys typed into the web page become console key records from the one US
// keyboard table, as the SDL window's keys do. A key is named by the
// browser's KeyboardEvent.code (the physical key, whatever the layout).
// Plain C++: the table is tested natively.
#pragma once
#include <cstdint>
#include <string_view>

#include "platform/console/InputQueue.h"
#include "platform/console/UsKeyRecord.h"

namespace Web {

// The key of the US keyboard table that `code` names, or nullptr.
const IO::UsKey* FindWebKey(std::string_view code);

// The modifiers as the page reports them with a key event, one bit each.
enum ModifierBit : uint32_t {
    kShift = 1, kLeftCtrl = 2, kRightCtrl = 4, kLeftAlt = 8, kRightAlt = 16,
    kNumLock = 32, kCapsLock = 64, kScrollLock = 128,
};
IO::KeyModifiers ModifiersOf(uint32_t bits);

// The record of key `code` going down or up; false for a key the table
// does not have (it gives nothing).
bool WebKeyRecord(std::string_view code, uint32_t modifierBits, bool down, IO::KeyRecord& record);

// Keys the page keeps for itself, key-up included: F11 and Alt+Enter
// switch fullscreen, as in the SDL window.
bool IsFullscreenToggle(std::string_view code, uint32_t modifierBits);

// What a key event of the page comes to.
enum class KeyOutcome : int {
    NotOurs = 0,           // no key of the table: the browser may act on it
    Posted = 1,            // `record` is the program's
    ToggleFullscreen = 2,  // the page switches fullscreen (not on a repeat)
    Swallowed = 3,         // a repeat or the key-up of a fullscreen toggle
};

// Sorts a key event of the page: a fullscreen toggle is kept from the
// program until its key goes up, like the SDL window's.
class PageKeyboard {
public:
    KeyOutcome Take(std::string_view code, uint32_t modifierBits, bool down, bool repeat, IO::KeyRecord& record);

private:
    static constexpr int kMaxHeldToggles = 4;
    const IO::UsKey* heldToggles_[kMaxHeldToggles] = {};
};

}  // namespace Web
