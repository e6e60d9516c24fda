// SDL key events to console key records (see SdlKeys.h).
#include "platform/sdl/detail/SdlKeys.h"

#include <SDL2/SDL_keyboard.h>
#include "platform/console/UsKeyRecord.h"
#include "platform/sdl/detail/SdlKeyTable.h"

namespace Graph::detail {

namespace {

IO::KeyModifiers ModifiersOf(uint16_t mod) {
    IO::KeyModifiers mods;
    mods.shift = (mod & KMOD_SHIFT) != 0;
    mods.leftCtrl = (mod & KMOD_LCTRL) != 0;
    mods.rightCtrl = (mod & KMOD_RCTRL) != 0;
    mods.leftAlt = (mod & KMOD_LALT) != 0;
    mods.rightAlt = (mod & KMOD_RALT) != 0;
    mods.numLock = (mod & KMOD_NUM) != 0;
    mods.capsLock = (mod & KMOD_CAPS) != 0;
    mods.scrollLock = (mod & KMOD_SCROLL) != 0;
    return mods;
}

}  // namespace

bool SdlKeyRecord(int scancode, uint16_t mod, bool down, IO::KeyRecord& record) {
    const IO::UsKey* key = FindSdlKey(scancode);
    if (!key) {
        record = IO::KeyRecord{};
        record.keyDown = down;
        return false;
    }
    record = IO::UsKeyRecord(*key, ModifiersOf(mod), down);
    return true;
}

}  // namespace Graph::detail
