// State shared by the caller's side of Graph, its drawing thread, the
// inspection functions and the window backends. Private to platform/graph.
//
// Threads: the caller fills `request` after taking the idle event and sets
// `requestPosted`; the drawing thread carries the request out on the back
// buffer (under backLock) and sets `idle`. At each of the program's waits
// the caller publishes a frame: once the drawing thread is idle it copies
// the back buffer to the window surface (under windowLock, then backLock).
// The window thread shows the window surface, reading it under windowLock.
// Lock order: a thread that needs both takes windowLock first; the drawing
// thread only ever takes backLock.
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>
#include "platform/graph/detail/GraphEvent.h"
#include "platform/graph/detail/GraphRequest.h"
#include "platform/graph/WindowSurface.h"
#include "platform/graph/raster/Raster.h"

namespace Graph::detail {

// The surfaces' types are the window surface's (platform/graph/WindowSurface.h).
using Graph::Palette;
using Graph::Pixels;
using Graph::PublishedFrame;

// The hand-off: both events' words and the start of the request record on
// one cache line, so that passing a request moves one line between the two
// threads instead of four.
struct HandOffLine {
    EventWord posted;
    EventWord idle;
    Request request;
};
static_assert(offsetof(HandOffLine, request) + offsetof(Request, text) <= 64,
              "the request's numbers must share the events' cache line");

// Members that different threads write are kept on cache lines of their own.
struct Service {
    alignas(64) HandOffLine handOff;
    Request& request = handOff.request;
    ManualEvent requestPosted{handOff.posted};
    ManualEvent idle{handOff.idle};
    alignas(64) std::atomic<bool> serverRunning{false};
    std::thread drawingThread;
    alignas(64) DrawState draw;    // drawing thread's settings

    // The back buffer.
    alignas(64) std::mutex backLock;
    Pixels back;
    Palette backPalette;

    // The window surface: the frame published last.
    alignas(64) std::mutex windowLock;
    PublishedFrame window;
};

Service& TheService();

// Window thread, once its window exists: starts the drawing thread unless it
// already runs. Returns false when the thread cannot be started.
bool StartDrawingThread();
// Caller's thread: lets the drawing thread finish its request, then ends it.
void StopDrawingThread();

}  // namespace Graph::detail
