// Frames: the window shows the back buffer as it stood at the program's
// latest wait, never a half-drawn picture. The program publishes a frame at
// each of its waits (the console layer's wait hooks, installed by the
// program body); the window thread then presents it.
#pragma once
#include <cstdint>

namespace Graph {

// Caller's thread. Once the outstanding request is done, copies the back
// buffer to the window surface and lets the window present it. Publishes
// nothing when nothing was posted since the last frame.
void PublishFrame();

// Drawing requests posted so far (caller's thread).
uint64_t RequestsPosted();

// Frames published so far.
uint64_t FramesPublished();

}  // namespace Graph
