// The offscreen window system: no window at all. The window thread only
// starts the drawing thread and waits to be stopped; drawing, surfaces and
// the request protocol are the same as with a real window. It can keep
// published frames as a real window does (for tests of frames), or skip
// them (the headless runner, which snapshots the back buffer at waits).
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include "platform/graph/WindowBackend.h"

namespace Graph {

namespace {

class OffscreenWindow final : public WindowBackend {
public:
    explicit OffscreenWindow(bool showsFrames) : showsFrames_(showsFrames) {}
    bool Open(const WindowPlacement&) override { return true; }
    bool ShowsFrames() const override { return showsFrames_; }

    void Run() override {
        std::unique_lock<std::mutex> lock(mutex_);
        stopped_.wait(lock, [this] { return stopRequested_; });
    }

    void Stop() override {
        std::lock_guard<std::mutex> lock(mutex_);
        stopRequested_ = true;
        stopped_.notify_all();
    }

private:
    const bool showsFrames_;
    std::mutex mutex_;
    std::condition_variable stopped_;
    bool stopRequested_ = false;
};

std::unique_ptr<WindowBackend> MakeOffscreenWindow() { return std::make_unique<OffscreenWindow>(false); }
std::unique_ptr<WindowBackend> MakeFramedOffscreenWindow() { return std::make_unique<OffscreenWindow>(true); }

// Without a display a message is one line on standard error.
void PrintMessage(const char* text) { std::fprintf(stderr, "%s\n", text); }

}  // namespace

WindowSystem OffscreenWindowSystem(bool keepFrames) {
    return WindowSystem{keepFrames ? MakeFramedOffscreenWindow : MakeOffscreenWindow, PrintMessage};
}

}  // namespace Graph
