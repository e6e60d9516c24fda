// Frames: the window shows the back buffer as it stood at the program's
// latest wait, never a half-drawn picture. The program publishes a frame at
// each of its waits (the console layer's wait hooks, installed by the
// program body); the window presents it at once.
#pragma once
#include <cstdint>

namespace Graph {

// Compares the back buffer with the frame shown last, row by row, copies
// the spans that changed to the window surface and lets the window present
// them. Publishes nothing when nothing was drawn since the last frame.
void PublishFrame();

// Drawing requests posted so far.
uint64_t RequestsPosted();

// Frames published so far (any thread).
uint64_t FramesPublished();

}  // namespace Graph
