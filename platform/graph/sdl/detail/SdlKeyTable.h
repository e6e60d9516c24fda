// Lookup tables of the SDL key translation (data in SdlKeyTable.cpp).
#pragma once
#include <cstdint>

namespace Graph::detail {

struct SdlKeyInfo {
    int scancode;
    uint16_t vk;
    uint16_t scan;
    bool enhanced;
    uint8_t plain;     // character without Shift, 0 for none
    uint8_t shifted;   // character with Shift
};

struct SdlKeypadInfo {
    int scancode;
    uint16_t numLockVk;      // NumLock on, no Shift
    uint16_t navigationVk;   // NumLock off, or Shift held
    uint16_t scan;
    uint8_t character;       // typed with NumLock on
};

const SdlKeyInfo* FindSdlKey(int scancode);
const SdlKeypadInfo* FindSdlKeypad(int scancode);

}  // namespace Graph::detail
