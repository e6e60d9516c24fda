// Turning an 8-bit palette-index frame into the pixels of an SDL surface.
#pragma once
#include <SDL2/SDL_rect.h>
#include <SDL2/SDL_surface.h>
#include <vector>
#include "platform/graph/WindowFrames.h"

namespace Graph::detail {

// Paints the frame's top-left part that fits onto `surface` (locked if it
// must be), through the frame's palette; indices beyond it show black.
void ConvertFrame(const FrameCopy& frame, SDL_Surface* surface);

// Like ConvertFrame, but only the bands of rows that differ from `shown`,
// the frame already on the surface (all rows when `shown` is null or its
// size or palette differ). Returns the bands painted, for updating the window.
std::vector<SDL_Rect> ConvertChangedRows(const FrameCopy& frame, const FrameCopy* shown,
                                         SDL_Surface* surface);

}  // namespace Graph::detail
