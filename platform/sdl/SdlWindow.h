// The SDL window for Graph: the game program calls UseSdlWindow() before
// Graph::Init. Without it Graph opens no window (the offscreen default).
#pragma once
#include "platform/graph/WindowBackend.h"

namespace Graph {

// How the window presents its picture; the player's choice on the command
// line. The defaults give the plain window: outer size as asked, at the
// asked place, each back-buffer pixel one screen pixel.
struct SdlWindowOptions {
    enum class Renderer { Automatic, Software, Hardware };

    static constexpr int kMinScale = 1;
    static constexpr int kMaxScale = 4;
    static constexpr int kAutoScale = 0;  // the largest scale that fits the screen

    int scale = 1;                 // each pixel a scale x scale block (kAutoScale: chosen at opening)
    bool fullscreen = false;       // desktop fullscreen, largest whole scale that fits
    Renderer renderer = Renderer::Automatic;  // automatic: hardware where the display has it
    bool controller = true;        // the first game controller plays too (--no-controller: keys only)
};

void UseSdlWindow(const SdlWindowOptions& options = {});
WindowSystem SdlWindowSystem(const SdlWindowOptions& options = {});

}  // namespace Graph
