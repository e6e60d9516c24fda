// Graph's life cycle: module initialisation and finaliser, opening the window
// (window thread, drawing thread, surfaces, palette and defaults), closing it,
// and the request hand-off used by every drawing call.
#include "platform/graph/Graph.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <pthread.h>
#include "platform/graph/GraphFrames.h"
#include "platform/graph/detail/GraphCaller.h"
#include "platform/graph/detail/GraphService.h"
#include "platform/graph/raster/Raster.h"

namespace Graph {

CARDINAL Width = 0;
CARDINAL Depth = 0;
CARDINAL Columns = 0;
CARDINAL Rows = 0;
CARDINAL NumPColor = 0;

namespace detail {

CallerState& Caller() {
    static CallerState* state = new CallerState;  // never destroyed, like the service
    return *state;
}

Request* TakeRecord() {
    Service& sv = TheService();
    if (!sv.serverRunning.load(std::memory_order_acquire)) return nullptr;
    sv.idle.Wait();
    sv.idle.Reset();
    return &sv.request;
}

void Post(Request& r) {
    CallerState& cs = Caller();
    if (cs.trace) {
        const std::string line = TraceLine(r);
        std::fputs(line.c_str(), cs.trace);
        std::fputc('\n', cs.trace);
    }
    ++cs.posted;
    TheService().requestPosted.Set();
}

void PostWords(uint8_t op, uint32_t w0, uint32_t w1, uint32_t w2, uint32_t w3, uint32_t w4,
               bool flag) {
    Request* r = TakeRecord();
    if (!r) return;
    r->op = op;
    r->word[0] = w0;
    r->word[1] = w1;
    r->word[2] = w2;
    r->word[3] = w3;
    r->word[4] = w4;
    r->flag = flag;
    Post(*r);
}

void WaitIdle() {
    Service& sv = TheService();
    if (sv.serverRunning.load(std::memory_order_acquire)) sv.idle.Wait();
}

namespace {

// Copies the rows of the back buffer that differ from the window surface and
// marks them for the window thread. The drawing thread is idle, so the back
// buffer holds every request posted so far.
void CopyBackToWindow(Service& sv) {
    std::lock_guard<std::mutex> windowLock(sv.windowLock);
    std::lock_guard<std::mutex> backLock(sv.backLock);
    PublishedFrame& shown = sv.window;
    Pixels& back = sv.back;
    if (back.data.empty() || shown.pixels.data.size() != back.data.size()) return;
    if (std::memcmp(&shown.palette, &sv.backPalette, sizeof shown.palette) != 0) {
        shown.palette = sv.backPalette;
        shown.allChanged = true;
    }
    const std::size_t width = static_cast<std::size_t>(back.width);
    for (int32_t y = 0; y < back.height; ++y) {
        if (std::memcmp(shown.pixels.Row(y), back.Row(y), width) == 0) continue;
        std::memcpy(shown.pixels.Row(y), back.Row(y), width);
        shown.rowChanged[static_cast<std::size_t>(y)] = 1;
    }
    ++shown.serial;
}

// Inverts the cell at the text position: how the cursor is shown and hidden.
void InvertCursorCell() {
    const CallerState& cs = Caller();
    const uint32_t x1 = (cs.text.column - 1) * cs.cellWidth;
    const uint32_t y1 = (cs.text.row - 1) * cs.cellHeight;
    PostWords(OP_INVERT, x1, y1, cs.text.column * cs.cellWidth - 1,
              cs.text.row * cs.cellHeight - 1);
}

}  // namespace

void HideCursor() {
    CallerState& cs = Caller();
    if (!cs.cursorShown) return;
    InvertCursorCell();
    cs.cursorShown = false;
}

void RestoreCursor() {
    CallerState& cs = Caller();
    if (!cs.cursorWanted || cs.cursorShown) return;
    InvertCursorCell();
    cs.cursorShown = true;
}

namespace {

constexpr int32_t kMaxSurfaceSide = 8192;
// How long Init waits for the window thread to report; only a broken window
// system (a display that accepts the connection and never answers) takes
// that long.
constexpr std::chrono::milliseconds kWindowStartLimit{10000};
// How long the end of the program waits for the window thread to close the
// window; a thread stuck in the window system is left behind.
constexpr std::chrono::milliseconds kWindowEndLimit{3000};

void ShowMessage(const char* text) {
    const WindowSystem& ws = Caller().system;
    if (ws.showMessage) ws.showMessage(text);
    else std::fprintf(stderr, "%s\n", text);
}

// The display counts as 32 bits per pixel: 2^32 colours, which a CARDINAL
// cannot hold, so the count saturates instead of wrapping to 0.
CARDINAL DisplayColourCount() {
    constexpr unsigned kBitsPerPixel = 32;
    return kBitsPerPixel >= 32 ? 0xFFFFFFFFu : (1u << kBitsPerPixel);
}

int32_t SurfaceSide(INTEGER requested) {
    if (requested < 1) return 1;
    return requested > kMaxSurfaceSide ? kMaxSurfaceSide : requested;
}

void WindowThreadMain(WindowBackend* backend, WindowPlacement placement) {
    pthread_setname_np(pthread_self(), "kyr-window");
    CallerState& cs = Caller();
    bool ok = backend->Open(placement);
    if (ok && !StartDrawingThread()) {
        ShowMessage("Graph server not run");
        backend->Stop();
        backend->Run();   // closes the window at once
        ok = false;
    }
    cs.windowOpened.store(ok);
    cs.windowStarted.Set();
    if (ok) backend->Run();
    cs.windowEnded.Set();
}

void FinishAtExit() {
    if (Caller().moduleReady) ModuleExit();
}

void UseFontMetrics() {
    CallerState& cs = Caller();
    const Raster::FontMetrics m = Raster::Font();
    cs.cellWidth = m.maxWidth > 0 ? static_cast<uint32_t>(m.maxWidth) : 1;
    cs.cellHeight = m.height > 0 ? static_cast<uint32_t>(m.height) : 1;
    cs.descent = m.descent > 0 ? static_cast<uint32_t>(m.descent) : 0;
    Columns = Width / cs.cellWidth;
    Rows = Depth > cs.descent ? (Depth - cs.descent) / cs.cellHeight : 0;
}

// Waits for the window thread to end. One that never reported back, or does
// not end in time, is stuck in the window system: it is left behind, with
// its backend, rather than hanging the caller.
void EndWindowThread() {
    CallerState& cs = Caller();
    if (!cs.windowThread.joinable()) return;
    if (cs.windowThread.get_id() == std::this_thread::get_id()) {
        cs.windowThread.detach();   // never wait for oneself
        (void)cs.backend.release();
        return;
    }
    if (cs.windowStarted.IsSet() && cs.windowEnded.WaitFor(kWindowEndLimit)) {
        cs.windowThread.join();
        return;
    }
    cs.windowThread.detach();
    (void)cs.backend.release();
}

// Starts the window thread and waits until it has opened the window and
// started the drawing thread, or failed.
bool OpenWindow() {
    CallerState& cs = Caller();
    cs.backend = cs.system.make ? cs.system.make() : OffscreenWindowSystem().make();
    cs.windowStarted.Reset();
    cs.windowEnded.Reset();
    try {
        cs.windowThread = std::thread(WindowThreadMain, cs.backend.get(), cs.placement);
    } catch (...) {
        ShowMessage("Graph server not run");
        return false;
    }
    if (!cs.windowStarted.WaitFor(kWindowStartLimit)) {
        // The window system does not answer: a message box would hang on it too.
        std::fprintf(stderr, "Graph server not run (the display did not answer)\n");
        return false;
    }
    return cs.windowOpened.load();
}

}  // namespace
}  // namespace detail

using namespace detail;

void PublishFrame() {
    CallerState& cs = Caller();
    if (cs.posted == cs.postedAtPublish) return;
    Service& sv = TheService();
    if (!sv.serverRunning.load(std::memory_order_acquire)) return;
    cs.postedAtPublish = cs.posted;
    if (!cs.backend || !cs.windowOpened.load() || !cs.backend->ShowsFrames()) return;
    WaitIdle();
    CopyBackToWindow(sv);
    cs.backend->FramePublished();
}

uint64_t RequestsPosted() { return Caller().posted; }

uint64_t FramesPublished() {
    Service& sv = TheService();
    std::lock_guard<std::mutex> lock(sv.windowLock);
    return sv.window.serial;
}

void SetWindowSystem(const WindowSystem& system) { Caller().system = system; }

void ModuleInit() {
    CallerState& cs = Caller();
    if (cs.moduleReady) return;
    static bool finisherRegistered = false;
    if (!finisherRegistered) finisherRegistered = std::atexit(FinishAtExit) == 0;
    NumPColor = DisplayColourCount();
    cs.bkColour = 0;
    cs.stdMask = PATSYM_SOLID;
    cs.useStdMask = true;
    for (uint8_t& b : cs.customMask) b = 0;
    TheService().draw = DrawState{};
    cs.created = false;
    cs.cursorWanted = cs.cursorShown = false;
    cs.moduleReady = true;
}

void ModuleExit() {
    CallerState& cs = Caller();
    if (!cs.moduleReady) return;
    if (cs.created) Exit();
    // A window that failed to open, or that the user closed, left its thread behind.
    EndWindowThread();
    cs.backend.reset();
    StopDrawingThread();
    Service& sv = TheService();
    {
        std::lock_guard<std::mutex> lock(sv.windowLock);
        sv.window = PublishedFrame{};
    }
    std::lock_guard<std::mutex> lock(sv.backLock);
    sv.back.Release();
    sv.backPalette = Palette{};
    cs.trace = nullptr;
    cs.moduleReady = false;
}

BOOLEAN Init(INTEGER left, INTEGER top, INTEGER width, INTEGER height) {
    CallerState& cs = Caller();
    if (!cs.moduleReady) ModuleInit();
    if (cs.created) {
        ShowMessage("Graph window was already created");
        return false;
    }
    cs.created = true;
    Width = static_cast<CARDINAL>(SurfaceSide(width));
    Depth = static_cast<CARDINAL>(SurfaceSide(height));
    cs.placement = WindowPlacement{left, top, width, height};
    EndWindowThread();  // an earlier, closed window
    if (!OpenWindow()) return false;

    PostWords(OP_SURFACES, Width, Depth);
    NumPColor = DisplayColourCount();
    InitStdPalette();
    SetLineStyle(LNSTYLE_SOLID);
    SetBkMix(true);
    SetBkColor(0);
    ClearScreen(0);
    UseFontMetrics();
    SetTextWindow(1, 1, Columns, Rows);
    return true;
}

void Exit() {
    CallerState& cs = Caller();
    if (!cs.created) return;
    cs.created = false;
    if (cs.backend && cs.windowOpened.load()) cs.backend->Stop();
    EndWindowThread();
    cs.windowOpened.store(false);
}

}  // namespace Graph
