// The drawing thread: waits for a request, carries it out (settings once,
// shapes on the back buffer), and signals idle. The window surface is filled
// from the back buffer only when the caller publishes a frame (Graph.cpp).
#include "platform/graph/detail/GraphService.h"

#include <algorithm>
#include <cstring>
#include <pthread.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace Graph {

void Pixels::Allocate(int32_t w, int32_t h) {
    width = w;
    height = h;
    pitch = Raster::PreferredPitch(w);
    data.assign(static_cast<std::size_t>(pitch) * static_cast<std::size_t>(h), 0);
}

void Pixels::Release() {
    std::vector<uint8_t>().swap(data);
    width = height = pitch = 0;
}

Raster::Surface Pixels::View() {
    return Raster::Surface{data.empty() ? nullptr : data.data(), width, height, pitch};
}

std::mutex& WindowSurfaceLock() { return detail::TheService().windowLock; }

PublishedFrame& WindowSurface() { return detail::TheService().window; }

}  // namespace Graph

namespace Graph::detail {

Service& TheService() {
    // Never destroyed: the threads may outlive static destruction when a
    // program ends without the module finaliser.
    static Service* service = new Service;
    return *service;
}

namespace {

// Ask for a higher priority than the caller's thread; a refusal (no
// privilege) is fine.
void RaisePriority() {
    const pid_t tid = static_cast<pid_t>(syscall(SYS_gettid));
    (void)setpriority(PRIO_PROCESS, static_cast<id_t>(tid), -5);
}

void CreateSurfaces(Service& sv, int32_t width, int32_t height) {
    {
        std::lock_guard<std::mutex> lock(sv.windowLock);
        PublishedFrame& shown = sv.window;
        shown.pixels.Allocate(width, height);
        shown.rowChanged.assign(static_cast<std::size_t>(height), 0);
        shown.allChanged = true;
    }
    std::lock_guard<std::mutex> lock(sv.backLock);
    sv.back.Allocate(width, height);
}

// The window gets the palette with the next published frame.
void InstallPalette(Service& sv, const Request& r) {
    // A palette without entries cannot be made: nothing changes.
    const uint32_t n = std::min<uint32_t>(r.paletteCount, kPaletteCapacity);
    if (n == 0) return;
    std::lock_guard<std::mutex> lock(sv.backLock);
    std::memcpy(sv.backPalette.colours, r.palette, n * sizeof(uint32_t));
    sv.backPalette.count = n;
}

void PaintBackBuffer(Service& sv, const Request& r) {
    std::lock_guard<std::mutex> lock(sv.backLock);
    ApplySetting(r, sv.draw);
    Raster::Surface s = sv.back.View();
    if (s.pixels) Paint(r, sv.draw, s);
}

// Carries out one request; false for the request that ends the thread.
bool Carry(Service& sv, const Request& r) {
    switch (r.op) {
    case OP_STOP: return false;
    case OP_SURFACES:
        CreateSurfaces(sv, static_cast<int32_t>(r.word[0]), static_cast<int32_t>(r.word[1]));
        break;
    case OP_PALETTE: InstallPalette(sv, r); break;
    case OP_LINESTYLE:
    case OP_FILLMASK: ApplySetting(r, sv.draw); break;
    default:
        if (DrawsOnTheBackBuffer(r.op)) PaintBackBuffer(sv, r);
        break;
    }
    return true;
}

void DrawingThreadMain(Service* sv) {
    pthread_setname_np(pthread_self(), "kyr-draw");   // named for profilers and top
    RaisePriority();
    sv->idle.Set();
    for (;;) {
        sv->requestPosted.Wait();
        sv->requestPosted.Reset();
        const bool goOn = Carry(*sv, sv->request);
        sv->idle.Set();
        if (!goOn) return;
    }
}

}  // namespace

bool StartDrawingThread() {
    Service& sv = TheService();
    if (sv.serverRunning.load()) return true;
    try {
        sv.drawingThread = std::thread(DrawingThreadMain, &sv);
    } catch (...) {
        return false;
    }
    sv.serverRunning.store(true);
    return true;
}

void StopDrawingThread() {
    Service& sv = TheService();
    if (!sv.serverRunning.load()) return;
    sv.idle.Wait();
    sv.idle.Reset();
    sv.request.op = OP_STOP;
    sv.requestPosted.Set();
    if (sv.drawingThread.joinable()) sv.drawingThread.join();
    sv.serverRunning.store(false);
    sv.idle.Reset();
    sv.requestPosted.Reset();
}

}  // namespace Graph::detail
