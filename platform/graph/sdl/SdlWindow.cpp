// The SDL window backend. Every SDL call is made on Graph's window thread
// (message boxes included, see ShowMessage). The window sleeps until the
// program publishes a frame or the display asks for a repaint, then
// converts the rows that changed through the palette (scaled and centred
// as the player chose) and presents them: on the window's software
// framebuffer, or through a hardware renderer where the display has one.
#include "platform/graph/sdl/SdlWindow.h"

#include <SDL2/SDL.h>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>
#include "platform/console/InputQueue.h"
#include "platform/console/Waits.h"
#include "platform/graph/sdl/detail/SdlKeys.h"
#include "platform/graph/sdl/detail/SdlPresent.h"
#include "platform/graph/sdl/detail/SdlRenderer.h"
#include "platform/graph/sdl/detail/SdlX11.h"

namespace Graph {

namespace {

using namespace detail;

// The window thread looks at its stop flag at least this often.
constexpr int kIdleWaitMs = 250;

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

bool DisplayNamed() {
    const char* x = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x && *x) || (wayland && *wayland);
}

// A message box where a display is, else one line on standard error.
void ShowBoxOrPrint(const char* text) {
    if (!DisplayNamed() ||
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Graph", text, nullptr) != 0)
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

// Alt+Enter and F11 switch between the window and fullscreen.
bool IsFullscreenToggle(const SDL_Keysym& key) {
    if (key.scancode == SDL_SCANCODE_F11) return (key.mod & (KMOD_CTRL | KMOD_ALT | KMOD_SHIFT)) == 0;
    const bool enter = key.scancode == SDL_SCANCODE_RETURN || key.scancode == SDL_SCANCODE_KP_ENTER;
    return enter && (key.mod & KMOD_ALT) && !(key.mod & (KMOD_CTRL | KMOD_SHIFT));
}

// Another client destroyed the window: the program ends as when it is closed.
void EndForLostWindow() {
    static std::atomic<bool> said{false};
    if (!said.exchange(true)) std::fprintf(stderr, "kyr: the window was destroyed\n");
    Waits::RequestEnd(0);
}

class SdlWindow final : public WindowBackend {
public:
    explicit SdlWindow(const SdlWindowOptions& options) : options_(options) {}

    bool Open(const WindowPlacement& placement) override;
    void Run() override;
    void Stop() override;
    bool ShowsFrames() const override { return true; }
    void FramePublished() override { Wake(); }

private:
    void Wake();
    void Handle(const SDL_Event& e);
    void HandleKey(const SDL_KeyboardEvent& key);
    void ToggleFullscreen();
    void Present();
    bool PrepareTarget(Layout& layout, Canvas& canvas);
    void FitFrame();
    void Close();

    SdlWindowOptions options_;
    SDL_Window* window_ = nullptr;
    uint32_t windowId_ = 0;
    WindowPlacement placement_;
    bool framed_ = false;
    bool fullscreen_ = false;
    std::atomic<bool> stop_{false};
    uint32_t wakeEvent_ = 0;
    std::mutex wakeLock_;              // guards pushing wake events against SDL_Quit
    bool loopRunning_ = false;
    bool repaintAll_ = true;           // the whole picture must be painted again
    uint64_t shownSerial_ = 0;         // the published frame on the window
    SDL_Surface* lastSurface_ = nullptr;
    Layout lastLayout_;
    uint8_t consumedKeys_[SDL_NUM_SCANCODES] = {};  // toggle keys whose key-up is swallowed
    HardwarePresenter hardware_;
};

bool SdlWindow::Open(const WindowPlacement& p) {
    // The console owns Ctrl+C; SDL must not turn it into a quit event.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // The software path presents through the plain framebuffer, not GL.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    // The player types into the console the program started from: the window
    // leaves the keyboard focus there when it first appears.
    SDL_SetHint(SDL_HINT_WINDOW_NO_ACTIVATION_WHEN_SHOWN, "1");
    // Only the display drivers that can be there; a driver asked for by name wins.
    if (!std::getenv("SDL_VIDEODRIVER"))
        SDL_SetHint(SDL_HINT_VIDEODRIVER, std::getenv("WAYLAND_DISPLAY") ? "wayland,x11" : "x11");
    GuardX11Display();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        ShowBoxOrPrint("Win class was not registered");
        return false;
    }
    if (!OnADisplay()) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        ShowBoxOrPrint("Win class was not registered");
        return false;
    }
    placement_ = p;
    fullscreen_ = options_.fullscreen;
    int w = p.width > 0 ? p.width : 1, h = p.height > 0 ? p.height : 1;
    int x = p.left, y = p.top;
    if (options_.scale > 1) {
        ScaledClientSize(w, h, options_.scale, w, h);
        x = y = SDL_WINDOWPOS_CENTERED;
    }
    using Renderer = SdlWindowOptions::Renderer;
    bool hardware = options_.renderer == Renderer::Hardware ||
                    (options_.renderer == Renderer::Automatic && DisplayHasHardwareRenderer());
    uint32_t flags = SDL_WINDOW_SHOWN | SDL_WINDOW_ALWAYS_ON_TOP;
    if (fullscreen_) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    window_ = SDL_CreateWindow("Graph", x, y, w, h, flags | (hardware ? SDL_WINDOW_OPENGL : 0));
    if (!window_ && hardware) {
        // No OpenGL on this display (a forced hardware renderer): the window
        // presents in software rather than not opening at all.
        std::fprintf(stderr, "Graph: no hardware renderer (%s); presenting in software\n", SDL_GetError());
        hardware = false;
        window_ = SDL_CreateWindow("Graph", x, y, w, h, flags);
    }
    if (!window_) {
        ShowBoxOrPrint("Couldn't create main window");
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    if (hardware && !hardware_.Open(window_))
        std::fprintf(stderr, "Graph: no hardware renderer (%s); presenting in software\n", SDL_GetError());
    windowId_ = SDL_GetWindowID(window_);
    WatchX11Window(window_);
    wakeEvent_ = SDL_RegisterEvents(1);
    if (options_.scale <= 1) FitFrame();
    return true;
}

// The outer size includes the frame where the window manager reports one.
// A window manager frames the window only once it is shown, so this runs
// again on the first window events until a frame was seen.
void SdlWindow::FitFrame() {
    if (fullscreen_) return;
    int top = 0, left = 0, bottom = 0, right = 0;
    if (SDL_GetWindowBordersSize(window_, &top, &left, &bottom, &right) != 0) return;
    if (top + left + bottom + right == 0) return;
    framed_ = true;
    const WindowPlacement& p = placement_;
    if (p.width - left - right <= 0 || p.height - top - bottom <= 0) return;
    SDL_SetWindowSize(window_, p.width - left - right, p.height - top - bottom);
    SDL_SetWindowPosition(window_, p.left + left, p.top + top);
}

// Any thread: makes the window thread look at the published frame.
void SdlWindow::Wake() {
    std::lock_guard<std::mutex> lock(wakeLock_);
    if (!loopRunning_ || wakeEvent_ == static_cast<uint32_t>(-1)) return;
    SDL_Event e{};
    e.type = wakeEvent_;
    SDL_PushEvent(&e);
}

void SdlWindow::Stop() {
    stop_.store(true);
    Wake();
}

void SdlWindow::ToggleFullscreen() {
    fullscreen_ = !fullscreen_;
    SDL_SetWindowFullscreen(window_, fullscreen_ ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    repaintAll_ = true;
}

void SdlWindow::HandleKey(const SDL_KeyboardEvent& key) {
    const int code = key.keysym.scancode;
    const bool down = key.type == SDL_KEYDOWN;
    if (code >= 0 && code < SDL_NUM_SCANCODES) {
        if (down && IsFullscreenToggle(key.keysym)) {
            consumedKeys_[code] = 1;
            if (!key.repeat) ToggleFullscreen();
            return;
        }
        if (!down && consumedKeys_[code]) {
            consumedKeys_[code] = 0;
            return;
        }
    }
    IO::InputEvent event;
    event.isKey = true;
    if (SdlKeyRecord(code, key.keysym.mod, down, event.key)) IO::PostInput(event);
}

void SdlWindow::Handle(const SDL_Event& e) {
    switch (e.type) {
    case SDL_QUIT: Waits::RequestEnd(0); break;
    case SDL_WINDOWEVENT:
        if (e.window.windowID != windowId_) break;
        if (!framed_ && options_.scale <= 1) FitFrame();
        switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE: Waits::RequestEnd(0); break;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_SIZE_CHANGED: repaintAll_ = true; break;
        default: break;
        }
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: HandleKey(e.key); break;
    case SDL_SYSWMEVENT: NoteX11Event(e); break;
    default: break;
    }
}

// The window's current client size and where the picture goes in it; the
// canvas is the window surface (software) or the hardware presenter's
// staging pixels. False when there is nothing to paint on.
bool SdlWindow::PrepareTarget(Layout& layout, Canvas& canvas) {
    int w = 0, h = 0;
    SDL_GetWindowSize(window_, &w, &h);
    const Pixels& frame = WindowSurface().pixels;
    if (hardware_.Active()) {
        SDL_GetRendererOutputSize(hardware_.Renderer(), &w, &h);
        layout = ComputeLayout(w, h, frame.width, frame.height, options_.scale, fullscreen_);
        return hardware_.Staging(frame.width, frame.height, canvas);
    }
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    if (!surface || surface->format->BytesPerPixel != 4) return false;
    layout = ComputeLayout(surface->w, surface->h, frame.width, frame.height, options_.scale, fullscreen_);
    if (surface != lastSurface_) repaintAll_ = true;
    lastSurface_ = surface;
    canvas = Canvas{static_cast<uint8_t*>(surface->pixels), surface->pitch, surface->w, surface->h};
    return true;
}

void SdlWindow::Present() {
    Layout layout;
    Canvas canvas;
    std::vector<RowBand> bands;
    bool whole = false;
    {
        std::lock_guard<std::mutex> lock(WindowSurfaceLock());
        PublishedFrame& frame = WindowSurface();
        if (frame.serial == shownSerial_ && !repaintAll_) return;
        if (!PrepareTarget(layout, canvas)) return;
        whole = repaintAll_ || std::memcmp(&layout, &lastLayout_, sizeof layout) != 0;
        if (whole && !hardware_.Active()) {
            // Black around the picture (fullscreen) and where it does not reach.
            for (int y = 0; y < canvas.h; ++y)
                std::memset(canvas.pixels + static_cast<std::ptrdiff_t>(y) * canvas.pitch, 0,
                            static_cast<std::size_t>(canvas.w) * 4);
        }
        SDL_Surface* surface = hardware_.Active() ? nullptr : SDL_GetWindowSurface(window_);
        uint32_t table[256];
        if (surface)
            FillColourTable(frame.palette, [&](uint8_t r, uint8_t g, uint8_t b) { return SDL_MapRGB(surface->format, r, g, b); },
                            table);
        else
            FillColourTable(frame.palette, [](uint8_t r, uint8_t g, uint8_t b) {
                return 0xFF000000u | (uint32_t{r} << 16) | (uint32_t{g} << 8) | b; }, table);
        bands = TakeChangedBands(frame, layout.shownH, whole);
        // The hardware path stages the rows unscaled; the renderer scales them.
        const Layout paint = hardware_.Active() ? Layout{1, 0, 0, layout.shownW, layout.shownH} : layout;
        for (const RowBand& band : bands) ConvertRows(frame.pixels, table, paint, canvas, band.y0, band.y1);
        shownSerial_ = frame.serial;
        repaintAll_ = false;
        lastLayout_ = layout;
    }
    // Sent to the display outside the lock: the program's next frame never
    // waits for the display.
    if (hardware_.Active()) {
        hardware_.Show(layout, bands);
        return;
    }
    if (whole) {
        SDL_UpdateWindowSurface(window_);
        return;
    }
    // One update from the first changed row to the last: the display takes
    // it as one piece, so no one ever sees part of a frame.
    if (bands.empty()) return;
    const int y0 = bands.front().y0, y1 = bands.back().y1;
    const SDL_Rect rows{layout.offsetX, layout.offsetY + y0 * layout.scale, layout.shownW * layout.scale,
                        (y1 - y0) * layout.scale};
    SDL_UpdateWindowSurfaceRects(window_, &rows, 1);
}

void SdlWindow::Run() {
    MessageDesk& desk = Desk();
    {
        std::lock_guard<std::mutex> lock(desk.mutex);
        desk.loopRunning = true;
    }
    {
        std::lock_guard<std::mutex> lock(wakeLock_);
        loopRunning_ = true;
    }
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    while (!stop_.load()) {
        SDL_Event e;
        if (SDL_WaitEventTimeout(&e, kIdleWaitMs)) {
            Handle(e);
            while (SDL_PollEvent(&e)) Handle(e);
        }
        {
            std::unique_lock<std::mutex> lock(desk.mutex);
            ServePendingMessage(desk, lock);
        }
        if (X11WindowLost()) EndForLostWindow();
        if (!stop_.load()) Present();
    }
    Close();
}

void SdlWindow::Close() {
    {
        std::unique_lock<std::mutex> lock(Desk().mutex);
        Desk().loopRunning = false;
        ServePendingMessage(Desk(), lock);
    }
    {
        std::lock_guard<std::mutex> lock(wakeLock_);
        loopRunning_ = false;
    }
    // A window that another client destroyed is left as it is: SDL would
    // hide it first and wait for the display to confirm, which never
    // happens, holding the display's lock for ever. The program is ending.
    if (X11WindowLost()) return;
    hardware_.Close();
    SDL_DestroyWindow(window_);
    window_ = nullptr;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    SDL_Quit();
}

std::unique_ptr<WindowBackend> MakeSdlWindow() { return std::make_unique<SdlWindow>(ChosenOptions()); }

}  // namespace

WindowSystem SdlWindowSystem(const SdlWindowOptions& options) {
    ChosenOptions() = options;
    return WindowSystem{MakeSdlWindow, ShowMessage};
}

void UseSdlWindow(const SdlWindowOptions& options) { SetWindowSystem(SdlWindowSystem(options)); }

}  // namespace Graph
