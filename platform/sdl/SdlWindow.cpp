// The SDL window backend. Every SDL call is made on the program's thread:
// the window opens in Graph::Init, each published frame is converted and
// sent at once (only the spans that changed, through the palette, scaled
// and centred as the player chose), and the program's waits pump the
// window's events (keys, close, repaint, fullscreen) while time passes.
// A key typed into the terminal wakes a waiting pump with an event of its own.
#include "platform/sdl/SdlWindow.h"

#include <SDL2/SDL.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include "platform/console/InputQueue.h"
#include "platform/console/Waits.h"
#include "platform/sdl/Screenshot.h"
#include "platform/sdl/X11Probe.h"
#include "platform/sdl/detail/SdlController.h"
#include "platform/sdl/detail/SdlKeys.h"
#include "platform/graph/FramePixels.h"
#include "platform/sdl/detail/SdlRenderer.h"
#include "platform/sdl/detail/SdlX11.h"

namespace Graph {

namespace {

using namespace detail;

// How long opening waits for an X display to answer at all; only a broken
// display (one that takes the connection and never answers) takes that long.
constexpr int kDisplayAnswerLimitMs = 10000;

// The options of the next window to open.
SdlWindowOptions& ChosenOptions() {
    static SdlWindowOptions options;
    return options;
}

bool DisplayNamed() {
    const char* x = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x && *x) || (wayland && *wayland);
}

// A message box where a display is, else one line on standard error.
void ShowMessage(const char* text) {
    if (!DisplayNamed() ||
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Graph", text, nullptr) != 0)
        std::fprintf(stderr, "%s\n", text);
}

// Without a display SDL falls back to a video driver that shows nothing;
// that is no window for the player. Only a driver asked for by name counts.
bool OnADisplay() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver) return false;
    const bool invisible = std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0;
    return !invisible || std::getenv("SDL_VIDEODRIVER") != nullptr;
}

// An X display that takes the connection and never answers would hold
// SDL's start for ever: it is asked first, with a limit. Not asked when
// the window goes to another display system.
X11ProbeResult AskXDisplay() {
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (!DisplayNamed() || (driver && std::strcmp(driver, "x11") != 0) || std::getenv("WAYLAND_DISPLAY")) return {};
    return ProbeX11Display(std::getenv("DISPLAY"), kDisplayAnswerLimitMs);
}

// SDL's video did not start. Where the probe found no X server, that is
// what the player needs to know (SDL only says "x11 not available"); else
// SDL's reason. A message box on the display could not be trusted to
// appear, or to go away: these go to standard error.
void SayVideoFailed(const X11ProbeResult& display) {
    if (display.outcome == X11ProbeResult::Outcome::NoServer) {
        const char* name = std::getenv("DISPLAY");
        std::fprintf(stderr, "kyr: cannot open display %s%s%s%s\n", name ? name : "", display.why.empty() ? "" : " (",
                     display.why.c_str(), display.why.empty() ? "" : ")");
    } else {
        std::fprintf(stderr, "Graph: %s\n", SDL_GetError());
    }
    std::fprintf(stderr, "Win class was not registered\n");
}

// Where SDL centres a window: the usable part of the first display (without
// panels and docks), else its whole desktop; false when neither is known.
bool ScreenArea(int& w, int& h) {
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) == 0 && usable.w > 0 && usable.h > 0) {
        w = usable.w, h = usable.h;
        return true;
    }
    SDL_DisplayMode desktop;
    if (SDL_GetDesktopDisplayMode(0, &desktop) != 0 || desktop.w <= 0 || desktop.h <= 0) return false;
    w = desktop.w, h = desktop.h;
    return true;
}

// The scale the window opens at: the asked one, or the largest that fits
// the screen's usable area when the asked one does not (one warning), or
// for the automatic scale the largest that fits up to the largest there is
// (no warning: that is what was asked). The client area is compared, the
// window manager's frame not counted: it is only known once the window is
// shown. Scale 1 is the program's own window and stays as it is.
int ScaleThatFits(int frameW, int frameH, int asked) {
    int screenW = 0, screenH = 0;
    if (asked == 1 || !ScreenArea(screenW, screenH)) screenW = screenH = 0;
    const ScaleChoice choice = ChooseScale(frameW, frameH, asked, SdlWindowOptions::kMaxScale, screenW, screenH);
    if (choice.shrunk) {
        int w = 0, h = 0;
        ScaledClientSize(frameW, frameH, asked, w, h);
        std::fprintf(stderr, "kyr: a window at scale %d (%d x %d) does not fit the screen (%d x %d); using scale %d\n",
                     asked, w, h, screenW, screenH, choice.scale);
    }
    return choice.scale;
}

// Starts SDL's video. A display that takes the connection and then hangs
// up is one going away while another takes its number (a server being
// restarted): it is asked again for a moment before the start fails.
bool StartVideo() {
    constexpr int kTries = 6;
    constexpr uint32_t kPauseMs = 200;
    for (int k = 1; k < kTries; ++k) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return true;
        SDL_Delay(kPauseMs);
    }
    return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
}

// Alt+Enter and F11 switch between the window and fullscreen.
bool IsFullscreenToggle(const SDL_Keysym& key) {
    if (key.scancode == SDL_SCANCODE_F11) return (key.mod & (KMOD_CTRL | KMOD_ALT | KMOD_SHIFT)) == 0;
    const bool enter = key.scancode == SDL_SCANCODE_RETURN || key.scancode == SDL_SCANCODE_KP_ENTER;
    return enter && (key.mod & KMOD_ALT) && !(key.mod & (KMOD_CTRL | KMOD_SHIFT));
}

// F12 saves the picture shown (Screenshot.h).
bool IsScreenshotKey(const SDL_Keysym& key) {
    return key.scancode == SDL_SCANCODE_F12 && (key.mod & (KMOD_CTRL | KMOD_ALT | KMOD_SHIFT)) == 0;
}

class SdlWindow final : public WindowBackend, public Waits::EventPump {
public:
    explicit SdlWindow(const SdlWindowOptions& options) : options_(options) {}
    ~SdlWindow() override { Close(); }

    bool Open(const WindowPlacement& placement) override;
    void Close() override;
    bool ShowsFrames() const override { return true; }
    void Present(const PublishedFrame& frame) override;

    void Pump(int timeoutMs) override;
    void Wake() override;

private:
    void Handle(const SDL_Event& e);
    void HandleKey(const SDL_KeyboardEvent& key);
    void ToggleFullscreen();
    bool PrepareTarget(Layout& layout, Canvas& canvas);
    void ColourTable(const Palette& palette, bool rebuild);
    void FitFrame();

    SdlWindowOptions options_;
    SDL_Window* window_ = nullptr;
    uint32_t windowId_ = 0;
    WindowPlacement placement_;
    bool framed_ = false;
    bool fullscreen_ = false;
    uint32_t wakeEvent_ = 0;
    bool repaintAll_ = true;           // the whole picture must be painted again
    bool lostSaid_ = false;
    SDL_Surface* lastSurface_ = nullptr;
    Layout lastLayout_;
    uint32_t table_[256] = {};         // palette index -> pixel in the target's format
    uint8_t consumedKeys_[SDL_NUM_SCANCODES] = {};  // window keys (fullscreen, screenshot) whose key-up is swallowed
    HardwarePresenter hardware_;
    SdlController controller_;         // the first game controller, when asked for
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
    const X11ProbeResult display = AskXDisplay();
    if (display.outcome == X11ProbeResult::Outcome::Silent) {
        std::fprintf(stderr, "Graph server not run (the display did not answer)\n");
        return false;
    }
    // Asked before this process's video starts: the probe runs in a child.
    using Renderer = SdlWindowOptions::Renderer;
    bool hardware = options_.renderer == Renderer::Hardware ||
                    (options_.renderer == Renderer::Automatic && DisplayHasHardwareRenderer());
    GuardX11Display();
    if (!StartVideo()) {
        SayVideoFailed(display);
        return false;
    }
    if (!OnADisplay()) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        ShowMessage("Win class was not registered");
        return false;
    }
    placement_ = p;
    fullscreen_ = options_.fullscreen;
    // Fullscreen keeps an asked scale for the window it leaves to; the
    // automatic one is chosen here either way.
    if (!fullscreen_ || options_.scale == SdlWindowOptions::kAutoScale)
        options_.scale = ScaleThatFits(p.width, p.height, options_.scale);
    int w = p.width > 0 ? p.width : 1, h = p.height > 0 ? p.height : 1;
    int x = p.left, y = p.top;
    if (options_.scale > 1) {
        ScaledClientSize(w, h, options_.scale, w, h);
        x = y = SDL_WINDOWPOS_CENTERED;
    }
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
        ShowMessage("Couldn't create main window");
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    if (hardware && !hardware_.Open(window_))
        std::fprintf(stderr, "Graph: no hardware renderer (%s); presenting in software\n", SDL_GetError());
    windowId_ = SDL_GetWindowID(window_);
    WatchX11Window(window_);
    wakeEvent_ = SDL_RegisterEvents(1);
    // A controller is a comfort: without one the keyboards play as before.
    if (options_.controller && !controller_.Start())
        std::fprintf(stderr, "kyr: no game controllers (%s)\n", SDL_GetError());
    if (options_.scale <= 1) FitFrame();
    Waits::SetEventPump(this);
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

// Any thread (Waits serialises this against Close): an event of our own
// ends a pump that waits for the display.
void SdlWindow::Wake() {
    if (wakeEvent_ == 0 || wakeEvent_ == static_cast<uint32_t>(-1)) return;
    SDL_Event e{};
    e.type = wakeEvent_;
    SDL_PushEvent(&e);
}

void SdlWindow::Pump(int timeoutMs) {
    if (!window_) return;
    SDL_Event e;
    // The controller's events join the window's; a held pad key wakes the
    // pump when its next repeat is due.
    controller_.Update();
    timeoutMs = controller_.LimitWait(timeoutMs);
    if (timeoutMs > 0 ? SDL_WaitEventTimeout(&e, timeoutMs) : SDL_PollEvent(&e)) {
        Handle(e);
        while (SDL_PollEvent(&e)) Handle(e);
    }
    controller_.PostRepeats();
    if (X11WindowLost()) {
        // Another client destroyed the window: the run ends as when it is closed.
        if (!lostSaid_) std::fprintf(stderr, "kyr: the window was destroyed\n");
        lostSaid_ = true;
        Waits::RequestEnd(Waits::EndCause::Closed, 0);
        return;
    }
    // An expose, a new size or fullscreen: the last published frame again, whole.
    if (repaintAll_) Present(WindowSurface());
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
        if (down && IsScreenshotKey(key.keysym)) {
            consumedKeys_[code] = 1;
            if (!key.repeat) SaveScreenshot(WindowSurface());
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
    case SDL_QUIT: Waits::RequestEnd(Waits::EndCause::Closed, 0); break;
    case SDL_WINDOWEVENT:
        if (e.window.windowID != windowId_) break;
        if (!framed_ && options_.scale <= 1) FitFrame();
        switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE: Waits::RequestEnd(Waits::EndCause::Closed, 0); break;
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
    default: controller_.Handle(&e); break;
    }
}

// The window's current client size and where the picture goes in it; the
// canvas is the window surface (software) or the hardware presenter's
// staging pixels. False when there is nothing to paint on.
bool SdlWindow::PrepareTarget(Layout& layout, Canvas& canvas) {
    int w = 0, h = 0;
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

void SdlWindow::ColourTable(const Palette& palette, bool rebuild) {
    if (!rebuild) return;
    if (hardware_.Active()) {
        FillColourTable(palette, [](uint8_t r, uint8_t g, uint8_t b) {
            return 0xFF000000u | (uint32_t{r} << 16) | (uint32_t{g} << 8) | b; }, table_);
        return;
    }
    const SDL_PixelFormat* format = lastSurface_->format;
    FillColourTable(palette, [&](uint8_t r, uint8_t g, uint8_t b) { return SDL_MapRGB(format, r, g, b); }, table_);
}

// Converts what changed (everything after an expose, a new size or a new
// palette) and sends it. A frame that changed nothing sends nothing.
void SdlWindow::Present(const PublishedFrame& frame) {
    if (!window_ || frame.pixels.data.empty()) return;
    Layout layout;
    Canvas canvas;
    if (!PrepareTarget(layout, canvas)) return;
    const bool whole = repaintAll_ || frame.allChanged || std::memcmp(&layout, &lastLayout_, sizeof layout) != 0;
    if (!whole && frame.runs.empty()) return;
    ColourTable(frame.palette, whole);
    // The hardware path stages the frame unscaled; the renderer scales it.
    const Layout paint = hardware_.Active() ? Layout{1, 0, 0, layout.shownW, layout.shownH} : layout;
    FrameArea area;
    if (whole) {
        if (!hardware_.Active()) {
            // Black around the picture (fullscreen) and where it does not reach.
            for (int y = 0; y < canvas.h; ++y)
                std::memset(canvas.pixels + static_cast<std::ptrdiff_t>(y) * canvas.pitch, 0,
                            static_cast<std::size_t>(canvas.w) * 4);
        }
        ConvertRows(frame.pixels, table_, paint, canvas, 0, layout.shownH);
        area = FrameArea{0, 0, layout.shownW, layout.shownH};
    } else {
        area = ConvertChanges(frame, table_, paint, canvas);
    }
    repaintAll_ = false;
    lastLayout_ = layout;
    if (hardware_.Active()) {
        hardware_.Show(layout, area);
    } else if (whole) {
        SDL_UpdateWindowSurface(window_);
    } else if (!area.Empty()) {
        SDL_Rect rect;
        WindowRect(layout, area, rect.x, rect.y, rect.w, rect.h);
        SDL_UpdateWindowSurfaceRects(window_, &rect, 1);
    }
}

void SdlWindow::Close() {
    if (!window_) return;
    Waits::SetEventPump(nullptr);
    SDL_Window* window = window_;
    window_ = nullptr;
    // A window that another client destroyed is left as it is: SDL would
    // hide it first and wait for the display to confirm, which never
    // happens, holding the display's lock for ever. The program is ending.
    if (X11WindowLost()) return;
    hardware_.Close();
    controller_.Stop();
    SDL_DestroyWindow(window);
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
