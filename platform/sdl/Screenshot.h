// F12 in the window: the frame last shown saved as a PNG in the player's
// pictures folder (platform/sdl/ScreenshotFiles.h says which folder and name).
#pragma once
#include <string>
#include "platform/graph/WindowSurface.h"

namespace Graph {

// Writes the area of `frame` a scaled window shows (every column but the
// last, every row but the last) in the frame's palette, at one file pixel a
// frame pixel, and says on standard error where it went; or, when it cannot
// be written, why not. Returns the file's path, empty when nothing was saved.
std::string SaveScreenshot(const PublishedFrame& frame);

}  // namespace Graph
