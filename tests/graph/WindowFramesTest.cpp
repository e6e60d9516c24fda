// Which picture a real window shows while frames are drawn: never a half-drawn one.
#include "GraphTestSupport.h"
#include "platform/graph/WindowFrames.h"

using namespace graphtest;
using Graph::detail::ChooseFrame;
using Graph::detail::FrameChoice;
using Graph::detail::FrameTimes;

namespace {

constexpr int64_t kMs = 1'000'000;

// Drawing flows (a request finished 1 ms ago); the latest clear was
// `sinceClear` ago, the one before it `interval` earlier.
FrameTimes Drawing(int64_t sinceClear, int64_t interval) {
    FrameTimes t;
    t.nowNs = 10'000 * kMs;
    t.lastActivityNs = t.nowNs - 1 * kMs;
    t.lastClearNs = t.nowNs - sinceClear;
    t.clearIntervalNs = interval;
    t.completedValid = true;
    return t;
}

}  // namespace

TEST(FrameChoice, FramesThatClearShowThePictureBeforeTheClear) {
    EXPECT_EQ(ChooseFrame(Drawing(2 * kMs, 5 * kMs)), FrameChoice::Completed);
    // Slow frames: the next clear is awaited for three frame times.
    EXPECT_EQ(ChooseFrame(Drawing(500 * kMs, 200 * kMs)), FrameChoice::Completed);
    EXPECT_EQ(ChooseFrame(Drawing(700 * kMs, 200 * kMs)), FrameChoice::Live);
}

TEST(FrameChoice, TheLiveSurfaceOnceDrawingRestsOrStopsClearing) {
    FrameTimes t = Drawing(2 * kMs, 5 * kMs);
    t.completedValid = false;
    EXPECT_EQ(ChooseFrame(t), FrameChoice::Live);             // no clear yet
    t = Drawing(30 * kMs, 100 * kMs);
    EXPECT_EQ(ChooseFrame(t), FrameChoice::Completed);
    t.lastActivityNs = t.nowNs - Graph::detail::kQuietNs;
    EXPECT_EQ(ChooseFrame(t), FrameChoice::Live);             // drawing paused: the picture is whole
    EXPECT_EQ(ChooseFrame(Drawing(60 * kMs, 5 * kMs)), FrameChoice::Live);   // overdrawing, e.g. flashes
    EXPECT_EQ(ChooseFrame(Drawing(60 * kMs, 0)), FrameChoice::Live);
    EXPECT_EQ(ChooseFrame(Drawing(2 * kMs, 5 * kMs * 1000)), FrameChoice::Completed);
    EXPECT_EQ(ChooseFrame(Drawing(1100 * kMs, 5 * kMs * 1000)), FrameChoice::Live);
}

TEST(FrameChoice, OnceTheLiveSurfaceWasShownAnOlderPictureNeverComesBack) {
    FrameTimes t = Drawing(2 * kMs, 5 * kMs);
    t.liveShownSinceClear = true;
    EXPECT_EQ(ChooseFrame(t), FrameChoice::Live);
}

using FramePickerTest = OpenGraph;

TEST_F(FramePickerTest, TakesTheFrameBeforeTheClearThenTheLiveSurfaceAtRest) {
    Graph::detail::FramePicker picker;
    Graph::detail::FrameCopy frame;
    Graph::Rectangle(0, 0, 10, 10, 5, true);         // frame 1
    Graph::Rectangle(0, 0, 1025, 730, 0, true);      // clear
    Graph::Rectangle(20, 0, 30, 10, 6, true);        // frame 2, half drawn
    Graph::Sync();
    // Looked at twice, however slow this machine is: while frames come, then
    // after drawing has rested.
    const int64_t soon = Graph::detail::NowNs();
    ASSERT_TRUE(picker.Take(frame, false, soon));
    ASSERT_EQ(frame.width, kWidth);
    ASSERT_EQ(frame.pitch, Graph::detail::TheService().window.pitch);
    EXPECT_EQ(frame.pixels[0], 5);
    EXPECT_EQ(frame.pixels[8 * frame.pitch + 8], 5);
    EXPECT_EQ(frame.pixels[20], 0);
    EXPECT_EQ(frame.palette.RGB(5), 0x800080u);
    EXPECT_FALSE(picker.Take(frame, false, soon));    // nothing new
    EXPECT_TRUE(picker.Take(frame, true, soon));      // unless asked to repaint
    // Once drawing rests the live surface is whole.
    ASSERT_TRUE(picker.Take(frame, false, soon + Graph::detail::kQuietNs));
    EXPECT_EQ(frame.pixels[0], 0);
    EXPECT_EQ(frame.pixels[20], 6);
}
