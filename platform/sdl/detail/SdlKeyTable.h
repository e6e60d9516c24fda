// The SDL column of the US keyboard table: which key of IO::kUsKeyboard an
// SDL scancode is (data in SdlKeyTable.cpp).
#pragma once
#include "platform/console/UsKeyboard.h"

namespace Graph::detail {

// The key of an SDL_Scancode; nullptr for keys without a console record.
const IO::UsKey* FindSdlKey(int scancode);

}  // namespace Graph::detail
