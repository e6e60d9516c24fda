// The web page's canvas as a window backend, and the event pump that sleeps
// through Asyncify (see WebCanvas.h).
#include "platform/web/WebCanvas.h"

#include <emscripten.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "platform/console/InputQueue.h"
#include "platform/console/Waits.h"
#include "platform/graph/FramePixels.h"
#include "platform/web/WebKeys.h"

// The page's side (webpage/page.js keeps the canvas, the timers and the keys).
EM_JS(int, kyr_page_open, (int width, int height), { return Module.kyrPage.open(width, height) ? 1 : 0; });
EM_JS(void, kyr_page_close, (), { Module.kyrPage.close(); });
EM_JS(void, kyr_page_present, (const uint8_t* rgba, int width, int height, int x, int y, int w, int h),
      { Module.kyrPage.present(rgba, width, height, x, y, w, h); });
// Sleeps `ms` milliseconds, or less when the page wakes it: the program's
// stack is unwound (Asyncify), the browser runs its events and timers, and
// the program goes on where it stopped.
EM_JS(void, kyr_page_sleep, (int ms), {
    return Asyncify.handleSleep(function(wakeUp) { Module.kyrPage.sleep(ms, wakeUp); });
});
EM_JS(void, kyr_page_wake, (), { Module.kyrPage.wake(); });
EM_JS(void, kyr_page_ended, (int status), { Module.kyrPage.ended(status); });

namespace Web {

namespace {

// RGBA bytes in memory order, as ImageData holds them.
uint32_t Rgba(uint8_t r, uint8_t g, uint8_t b) {
    return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16 | 0xFF000000u;
}

class WebCanvas final : public Graph::WindowBackend, public Waits::EventPump {
public:
    ~WebCanvas() override { Close(); }

    bool Open(const Graph::WindowPlacement& placement) override {
        (void)placement;  // the page places and scales its canvas itself
        open_ = true;
        Waits::SetEventPump(this);
        return true;
    }

    void Close() override {
        if (!open_) return;
        open_ = false;
        Waits::SetEventPump(nullptr);
        kyr_page_close();
    }

    bool ShowsFrames() const override { return open_; }

    // The canvas is the area a full clear covers: every column but the
    // last and every row but the last, as the scaled native window shows.
    void Present(const Graph::PublishedFrame& frame) override {
        const Graph::Pixels& pixels = frame.pixels;
        const int w = pixels.width > 1 ? pixels.width - 1 : pixels.width;
        const int h = pixels.height > 1 ? pixels.height - 1 : pixels.height;
        if (w <= 0 || h <= 0) return;
        const bool resized = w != width_ || h != height_;
        if (resized) {
            width_ = w;
            height_ = h;
            rgba_.assign(std::size_t(w) * std::size_t(h), 0);
            if (!kyr_page_open(w, h)) return;
        }
        Graph::FillColourTable(frame.palette, Rgba, table_);
        const Graph::Layout layout{1, 0, 0, w, h};
        Graph::Canvas canvas{reinterpret_cast<uint8_t*>(rgba_.data()), w * 4, w, h};
        Graph::FrameArea area{0, 0, w, h};
        if (resized || frame.allChanged) Graph::ConvertRows(pixels, table_, layout, canvas, 0, h);
        else area = Graph::ConvertChanges(frame, table_, layout, canvas);
        if (area.Empty()) return;
        kyr_page_present(reinterpret_cast<const uint8_t*>(rgba_.data()), w, h, area.x0, area.y0,
                         area.x1 - area.x0, area.y1 - area.y0);
    }

    // The browser runs (timers, key events) only while the program sleeps.
    void Pump(int timeoutMs) override { kyr_page_sleep(timeoutMs); }
    void Wake() override { kyr_page_wake(); }

private:
    bool open_ = false;
    int width_ = 0, height_ = 0;
    std::vector<uint32_t> rgba_;
    uint32_t table_[256] = {};
};

std::unique_ptr<Graph::WindowBackend> MakeWebCanvas() { return std::make_unique<WebCanvas>(); }

void ShowMessage(const char* text) { std::fprintf(stderr, "%s\n", text); }

}  // namespace

void UseWebCanvas() { Graph::SetWindowSystem(Graph::WindowSystem{MakeWebCanvas, ShowMessage}); }

void SayProgramEnded(int status) { kyr_page_ended(status); }

}  // namespace Web

// Called by the page for every key event: `code` is the event's
// KeyboardEvent.code, `modifiers` the WebKeys.h bits. Returns a KeyOutcome:
// the page keeps the browser from acting on every key but NotOurs, and
// switches fullscreen on ToggleFullscreen.
extern "C" EMSCRIPTEN_KEEPALIVE int kyr_key(const char* code, int down, int repeat, int modifiers) {
    static Web::PageKeyboard keyboard;
    IO::InputEvent event;
    event.isKey = true;
    const Web::KeyOutcome outcome = keyboard.Take(code, uint32_t(modifiers), down != 0, repeat != 0, event.key);
    if (outcome == Web::KeyOutcome::Posted) IO::PostInput(event);
    return static_cast<int>(outcome);
}
