// What tests, the headless runner and tools may ask of Graph beyond the
// program's own interface: the back buffer's pixels (every request is on it
// the moment it is posted), PNG snapshots and the request trace.
#pragma once
#include <cstdio>
#include "platform/Types.h"

namespace Graph {

// Back-buffer pixel: palette index, and its colour as 0xRRGGBB.
// Outside the surface both return 0.
uint8_t PixelIndex(INTEGER x, INTEGER y);
CARDINAL PixelRGB(INTEGER x, INTEGER y);

// Writes the whole back buffer as a PNG in the palette's colours.
BOOLEAN WritePng(const char* path);
// The same into a file open for writing, which stays open.
BOOLEAN WritePng(std::FILE* file);

// Request trace: when `sink` is not null, one text line per request posted is
// written to it ("line X1 Y1 X2 Y2 COLOUR", "rect ... fill|outline",
// "ellipse ... fill|outline", "text X Y COLOUR \"TEXT\"", others by name).
// nullptr switches it off. The caller owns the FILE.
void SetTrace(std::FILE* sink);

}  // namespace Graph
