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
#include "platform/graph/GraphEvent.h"
#include "platform/graph/GraphRequest.h"
#include "platform/graph/Raster.h"

namespace Graph::detail {

// One 8-bit palette-index surface of width x height pixels. Rows are `pitch`
// bytes apart (Raster::PreferredPitch: steep lines draw faster than with rows
// packed at the width); the bytes past the width in each row are never shown.
struct Pixels {
    std::vector<uint8_t> data;
    int32_t width = 0;
    int32_t height = 0;
    int32_t pitch = 0;

    void Allocate(int32_t w, int32_t h);
    void Release();
    Raster::Surface View();
    uint8_t* Row(int32_t y) { return data.data() + static_cast<std::ptrdiff_t>(y) * pitch; }
    const uint8_t* Row(int32_t y) const { return data.data() + static_cast<std::ptrdiff_t>(y) * pitch; }
};

struct Palette {
    uint32_t colours[kPaletteCapacity] = {};
    uint32_t count = 0;
    uint32_t RGB(uint8_t index) const { return index < count ? colours[index] : 0; }
};

// The last published frame, as the window thread finds it (under windowLock).
struct PublishedFrame {
    Pixels pixels;
    Palette palette;
    uint64_t serial = 0;               // frames published so far
    std::vector<uint8_t> rowChanged;   // rows changed since the window thread last looked
    bool allChanged = true;            // every row changed (new surface or palette)
};

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
