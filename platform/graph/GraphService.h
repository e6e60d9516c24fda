// State shared by the caller's side of Graph, its drawing thread, the
// inspection functions and the window backends. Private to platform/graph.
//
// Threads: the caller fills `request` after taking the idle event and sets
// `requestPosted`; the drawing thread carries the request out (back buffer
// under backLock, then window surface under windowLock) and sets `idle`. The
// window thread reads the window surface under windowLock. Lock order: a
// thread that needs both takes windowLock first; the drawing thread never
// holds both at once.
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

// What the window thread needs to pick a whole frame (under windowLock).
struct FrameLog {
    bool completedValid = false;   // `completed` holds the picture before a full clear
    uint64_t clearSerial = 0;      // full clears so far
    uint64_t changeSerial = 0;     // requests painted on the window surface so far
    uint64_t paletteSerial = 0;    // palettes installed so far
    int64_t lastClearNs = 0;       // steady clock of the latest full clear
    int64_t clearIntervalNs = 0;   // time between the two latest full clears
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

    // The window surface, and the picture it held before the latest full clear.
    alignas(64) std::mutex windowLock;
    Pixels window;
    Pixels completed;
    Palette windowPalette;
    FrameLog frames;

    // Requests the drawing thread has finished (only it writes this).
    alignas(64) std::atomic<uint64_t> requestsDone{0};
};

Service& TheService();
int64_t NowNs();

// Window thread, once its window exists: starts the drawing thread unless it
// already runs. Returns false when the thread cannot be started.
bool StartDrawingThread();
// Caller's thread: lets the drawing thread finish its request, then ends it.
void StopDrawingThread();

}  // namespace Graph::detail
