// A window is sent only the runs of pixels of each frame that changed. Here
// a window that applies nothing but those runs to a picture of its own
// follows the intro, the credits, the outro (which never clears) and the
// demo frame by frame: after every published frame its picture must equal
// the back buffer, or a change was missed.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "platform/console/Waits.h"
#include "platform/graph/GraphFrames.h"
#include "platform/graph/WindowBackend.h"
#include "platform/graph/detail/GraphService.h"
#include "shows/Shows.h"
#include "tests/shows/ShowRecording.h"
#include "tests/support/OffscreenGraph.h"

namespace {

// Frames seen and frames whose picture did not match the back buffer.
struct Tally {
    int frames = 0;
    int wrong = 0;
    int partial = 0;     // frames that sent less than half the picture
};
Tally tally;

class SpanWindow final : public Graph::WindowBackend {
public:
    bool Open(const Graph::WindowPlacement&) override { return true; }
    void Close() override {}
    bool ShowsFrames() const override { return true; }

    void Present(const Graph::PublishedFrame& frame) override {
        const Graph::Pixels& shown = frame.pixels;
        if (picture_.size() != shown.data.size() || frame.allChanged) {
            picture_ = shown.data;
        } else {
            int64_t pixelsSent = 0;
            for (const Graph::ChangedRun& run : frame.runs) {
                std::memcpy(picture_.data() + static_cast<std::ptrdiff_t>(run.y) * shown.pitch + run.x0,
                            shown.Row(run.y) + run.x0, static_cast<std::size_t>(run.x1 - run.x0));
                pixelsSent += run.x1 - run.x0;
            }
            if (pixelsSent < int64_t{shown.width} * shown.height / 2) ++tally.partial;
        }
        ++tally.frames;
        if (!SameAsBackBuffer()) ++tally.wrong;
    }

private:
    bool SameAsBackBuffer() const {
        const Graph::Pixels& back = Graph::detail::TheService().back;
        for (int32_t y = 0; y < back.height; ++y)
            if (std::memcmp(picture_.data() + static_cast<std::ptrdiff_t>(y) * back.pitch, back.Row(y),
                            static_cast<std::size_t>(back.width)) != 0)
                return false;
        return true;
    }

    std::vector<uint8_t> picture_;
};

std::unique_ptr<Graph::WindowBackend> MakeSpanWindow() { return std::make_unique<SpanWindow>(); }

TEST(WindowFrames, AWindowGivenOnlyTheChangedRunsShowsEveryFrameOfTheShowsWhole) {
    showtest::PrepareShow();
    testsupport::CloseGraph();
    ASSERT_TRUE(testsupport::OpenGraph(Graph::WindowSystem{MakeSpanWindow, nullptr}));
    Waits::SetFrameHooks({Graph::PublishFrame, Graph::RequestsPosted});
    for (void (*show)() : {KYR12::Intro, KYR12::Credits, KYR12::Outro, KYR12::Demo}) {
        tally = Tally{};
        show();
        EXPECT_GE(tally.frames, 200);
        EXPECT_GT(tally.partial, 0) << "no frame changed only part of the picture: nothing was tested";
        EXPECT_EQ(tally.wrong, 0) << "of " << tally.frames << " frames";
    }
    Waits::SetFrameHooks({});
    testsupport::CloseGraph();
    ASSERT_TRUE(testsupport::OpenOffscreenGraph());   // as the other tests of this program found it
}

}  // namespace
