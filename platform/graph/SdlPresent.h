// Turning an 8-bit palette-index frame into the pixels of an SDL surface.
#pragma once
#include <SDL2/SDL_surface.h>
#include "platform/graph/WindowFrames.h"

namespace Graph::detail {

// Paints the frame's top-left part that fits onto `surface` (locked if it
// must be), through the frame's palette; indices beyond it show black.
void ConvertFrame(const FrameCopy& frame, SDL_Surface* surface);

}  // namespace Graph::detail
