// The offscreen window system: no window at all; drawing, surfaces and
// requests are the same as with a real window. It can keep published frames
// as a real window does (for tests of frames), or skip them (the headless
// runner, which snapshots the back buffer at its waits).
#include <cstdio>
#include "platform/graph/WindowBackend.h"

namespace Graph {

namespace {

class OffscreenWindow final : public WindowBackend {
public:
    explicit OffscreenWindow(bool showsFrames) : showsFrames_(showsFrames) {}
    bool Open(const WindowPlacement&) override { return true; }
    void Close() override {}
    bool ShowsFrames() const override { return showsFrames_; }

private:
    const bool showsFrames_;
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
