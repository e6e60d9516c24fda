// The seam between Graph and the window it shows: an offscreen backend (no
// window at all, the default) and the SDL window (sdl_window). The program
// picks one before Graph::Init. Everything runs on the program's thread:
// the backend opens the window, is handed each published frame at once,
// and is closed again by Graph.Exit or the module finaliser.
#pragma once
#include <cstdint>
#include <memory>

#include "platform/graph/WindowSurface.h"

namespace Graph {

struct WindowPlacement {
    int32_t left = 0;     // outer position and size of the window, frame included
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
};

class WindowBackend {
public:
    virtual ~WindowBackend() = default;
    // Opens the window. On failure shows its own message and returns false.
    virtual bool Open(const WindowPlacement& placement) = 0;
    // Closes the window; drawing goes on into the back buffer without it.
    virtual void Close() = 0;
    // Whether the window shows published frames; without it publishing a
    // frame compares and copies nothing.
    virtual bool ShowsFrames() const { return false; }
    // A frame was just published: `frame.runs` lists the pixels that changed
    // since the frame before (every pixel when `frame.allChanged`).
    virtual void Present(const PublishedFrame& frame) { (void)frame; }
};

struct WindowSystem {
    std::unique_ptr<WindowBackend> (*make)() = nullptr;
    // Shows a start-up failure: a message box where a display is, else one
    // line on standard error.
    void (*showMessage)(const char* text) = nullptr;
};

// Chooses the window system for the next Graph::Init.
void SetWindowSystem(const WindowSystem& system);
// No window at all; with `keepFrames` published frames are kept on the
// window surface as a real window keeps them.
WindowSystem OffscreenWindowSystem(bool keepFrames = false);

}  // namespace Graph
