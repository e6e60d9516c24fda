// The SDL window backend. Every SDL call is made on Graph's window thread
// (message boxes included, see ShowMessage). The window shows the 8-bit
// surface through the palette, converted when a frame is presented, about
// once per display refresh, on SDL's software framebuffer path.
#include "platform/graph/SdlWindow.h"

#include <SDL2/SDL.h>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include "platform/console/InputQueue.h"
#include "platform/graph/SdlKeys.h"
#include "platform/graph/SdlPresent.h"
#include "platform/graph/WindowFrames.h"

namespace Graph {

namespace {

using namespace detail;

constexpr int64_t kRefreshNs = 16'666'667;   // ~60 Hz

// The options of the next window to open.
SdlWindowOptions& ChosenOptions() {
    static SdlWindowOptions options;
    return options;
}

// Start-up failures are shown by the window thread when one runs its loop,
// otherwise by a short-lived thread of their own; the caller waits until the
// box is closed, as with a modal box.
struct MessageDesk {
    std::mutex mutex;
    std::condition_variable done;
    bool loopRunning = false;
    std::string pending;
    bool hasPending = false;
};

MessageDesk& Desk() {
    static MessageDesk* desk = new MessageDesk;
    return *desk;
}

// A message box where a display is, else one line on standard error.
void ShowBoxOrPrint(const char* text) {
    const bool display = std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
    if (!display || SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Graph", text, nullptr) != 0)
        std::fprintf(stderr, "%s\n", text);
}

// Window thread: shows a message handed over by the caller, if any.
void ServePendingMessage(MessageDesk& desk, std::unique_lock<std::mutex>& lock) {
    if (!desk.hasPending) return;
    const std::string text = desk.pending;
    lock.unlock();
    ShowBoxOrPrint(text.c_str());
    lock.lock();
    desk.hasPending = false;
    desk.done.notify_all();
}

void ShowMessage(const char* text) {
    MessageDesk& desk = Desk();
    std::unique_lock<std::mutex> lock(desk.mutex);
    if (desk.loopRunning) {
        desk.done.wait(lock, [&] { return !desk.hasPending; });
        desk.pending = text;
        desk.hasPending = true;
        desk.done.wait(lock, [&] { return !desk.hasPending; });
        return;
    }
    lock.unlock();
    std::thread([text] { ShowBoxOrPrint(text); }).join();
}

// Without a display SDL falls back to a video driver that shows nothing;
// that is no window for the player. Only a driver asked for by name counts.
bool OnADisplay() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver) return false;
    const bool invisible = std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0;
    return !invisible || std::getenv("SDL_VIDEODRIVER") != nullptr;
}

class SdlWindow final : public WindowBackend {
public:
    bool Open(const WindowPlacement& placement) override;
    void Run() override;
    void Stop() override { stop_.store(true); }

private:
    void Handle(const SDL_Event& e);
    void Present(bool force);
    void Close();
    void FitFrame();

    SDL_Window* window_ = nullptr;
    WindowPlacement placement_;
    bool framed_ = false;
    std::atomic<bool> stop_{false};
    bool closed_ = false;
    bool exposed_ = true;
    FramePicker picker_;
    FrameCopy frame_;
    FrameCopy shown_;                      // the picture on the window now
    bool haveShown_ = false;
    SDL_Surface* lastSurface_ = nullptr;
};

bool SdlWindow::Open(const WindowPlacement& p) {
    // The console owns Ctrl+C; SDL must not turn it into a quit event.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // Present through the plain software framebuffer: no GL renderer.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
    // The player types into the console the program started from: the window
    // leaves the keyboard focus there when it first appears.
    SDL_SetHint(SDL_HINT_WINDOW_NO_ACTIVATION_WHEN_SHOWN, "1");
    // Only the display drivers that can be there; a driver asked for by name wins.
    if (!std::getenv("SDL_VIDEODRIVER"))
        SDL_SetHint(SDL_HINT_VIDEODRIVER, std::getenv("WAYLAND_DISPLAY") ? "wayland,x11" : "x11");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        ShowBoxOrPrint("Win class was not registered");
        return false;
    }
    if (!OnADisplay()) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        ShowBoxOrPrint("Win class was not registered");
        return false;
    }
    window_ = SDL_CreateWindow("Graph", p.left, p.top, p.width > 0 ? p.width : 1,
                               p.height > 0 ? p.height : 1,
                               SDL_WINDOW_SHOWN | SDL_WINDOW_ALWAYS_ON_TOP);
    if (!window_) {
        ShowBoxOrPrint("Couldn't create main window");
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    placement_ = p;
    FitFrame();
    return true;
}

// The outer size includes the frame where the window manager reports one.
// A window manager frames the window only once it is shown, so this runs
// again on the first window events until a frame was seen.
void SdlWindow::FitFrame() {
    int top = 0, left = 0, bottom = 0, right = 0;
    if (SDL_GetWindowBordersSize(window_, &top, &left, &bottom, &right) != 0) return;
    if (top + left + bottom + right == 0) return;
    framed_ = true;
    const WindowPlacement& p = placement_;
    if (p.width - left - right <= 0 || p.height - top - bottom <= 0) return;
    SDL_SetWindowSize(window_, p.width - left - right, p.height - top - bottom);
    SDL_SetWindowPosition(window_, p.left + left, p.top + top);
}

void SdlWindow::Handle(const SDL_Event& e) {
    switch (e.type) {
    case SDL_QUIT: closed_ = true; break;
    case SDL_WINDOWEVENT:
        if (!framed_) FitFrame();
        if (e.window.event == SDL_WINDOWEVENT_CLOSE) closed_ = true;
        else if (e.window.event == SDL_WINDOWEVENT_EXPOSED ||
                 e.window.event == SDL_WINDOWEVENT_RESTORED ||
                 e.window.event == SDL_WINDOWEVENT_SHOWN ||
                 e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
            exposed_ = true;
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        IO::InputEvent event;
        event.isKey = true;
        if (SdlKeyRecord(e.key.keysym.scancode, e.key.keysym.mod, e.type == SDL_KEYDOWN, event.key))
            IO::PostInput(event);
        break;
    }
    default: break;
    }
}

// Only the rows that changed since the last present are converted and sent
// to the display; a repaint the system asked for sends everything.
void SdlWindow::Present(bool force) {
    if (!picker_.Take(frame_, force)) return;
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    if (!surface) return;
    const bool whole = force || !haveShown_ || surface != lastSurface_;
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
    const std::vector<SDL_Rect> bands = ConvertChangedRows(frame_, whole ? nullptr : &shown_, surface);
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    if (!bands.empty()) SDL_UpdateWindowSurfaceRects(window_, bands.data(), static_cast<int>(bands.size()));
    std::swap(frame_, shown_);
    haveShown_ = true;
    lastSurface_ = surface;
}

void SdlWindow::Run() {
    MessageDesk& desk = Desk();
    {
        std::lock_guard<std::mutex> lock(desk.mutex);
        desk.loopRunning = true;
    }
    int64_t nextTick = NowNs();
    while (!stop_.load() && !closed_) {
        const int64_t waitMs = std::max<int64_t>(0, (nextTick - NowNs()) / 1'000'000);
        SDL_Event e;
        if (SDL_WaitEventTimeout(&e, static_cast<int>(waitMs))) {
            Handle(e);
            while (SDL_PollEvent(&e)) Handle(e);
        }
        {
            std::unique_lock<std::mutex> lock(desk.mutex);
            ServePendingMessage(desk, lock);
        }
        if (closed_) break;
        const int64_t now = NowNs();
        if (exposed_ || now >= nextTick) {
            Present(exposed_);
            exposed_ = false;
            nextTick = std::max(nextTick + kRefreshNs, now);
        }
    }
    Close();
}

// Closing ends only the window: the drawing thread goes on with the back buffer.
void SdlWindow::Close() {
    {
        std::unique_lock<std::mutex> lock(Desk().mutex);
        Desk().loopRunning = false;
        ServePendingMessage(Desk(), lock);
    }
    SDL_DestroyWindow(window_);
    window_ = nullptr;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    SDL_Quit();
}

std::unique_ptr<WindowBackend> MakeSdlWindow() { return std::make_unique<SdlWindow>(); }

}  // namespace

WindowSystem SdlWindowSystem(const SdlWindowOptions& options) {
    ChosenOptions() = options;
    return WindowSystem{MakeSdlWindow, ShowMessage};
}

void UseSdlWindow(const SdlWindowOptions& options) { SetWindowSystem(SdlWindowSystem(options)); }

}  // namespace Graph
