// The seam between Graph and the window it shows: an offscreen backend (no
// window at all, the default) and the SDL window (graph_sdl). The program
// picks one before Graph::Init; the backend runs on Graph's window thread.
#pragma once
#include <cstdint>
#include <memory>

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
    // Window thread: opens the window. On failure shows its own message
    // and returns false.
    virtual bool Open(const WindowPlacement& placement) = 0;
    // Window thread: runs the event loop and presents frames until the user
    // closes the window or Stop() is called; then closes the window.
    virtual void Run() = 0;
    // Any thread: asks Run() to return soon.
    virtual void Stop() = 0;
    // Whether the window shows published frames; without it publishing a
    // frame copies nothing.
    virtual bool ShowsFrames() const { return false; }
    // Caller's thread: a new frame is on the window surface.
    virtual void FramePublished() {}
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
