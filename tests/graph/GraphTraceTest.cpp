// The request trace that other tests and the headless runner read.
#include <string>
#include <vector>
#include "tests/graph/SurfaceProbes.h"
#include "tests/support/GraphFixture.h"
#include "tests/support/TraceRecorder.h"

using namespace graphtest;
using testsupport::TraceRecorder;
using Lines = std::vector<std::string>;

TEST(GraphTrace, InitPostsSurfacesPaletteDefaultsAndAClear) {
    Graph::ModuleInit();
    TraceRecorder trace;
    ASSERT_TRUE(Graph::Init(1, 1, 1025, 730));
    EXPECT_EQ(trace.Lines(), (Lines{"surfaces", "palette 16", "linestyle 0", "bkmode 2", "bkcolor 0",
                                    "rect 0 0 1024 729 0 fill"}));
    Graph::ModuleExit();
}

using GraphTraceOpen = testsupport::OffscreenGraphTest;

TEST_F(GraphTraceOpen, ShapesAreWrittenAsPostedUnsigned) {
    TraceRecorder trace;
    Graph::Line(1, 2, 3, 4, 0x10F);
    Graph::Rectangle(9, 8, 7, 6, 5, true);
    Graph::Rectangle(0, 0, 0xFFFFFFFF, 2, 1, false);
    Graph::Ellipse(100, 50, 10, 20, 3, false);
    Graph::Disc(50, 40, 100, 1);
    EXPECT_EQ(trace.Lines(), (Lines{"line 1 2 3 4 271", "rect 9 8 7 6 5 fill",
                                    "rect 0 0 4294967295 2 1 outline", "ellipse 90 30 110 70 3 outline",
                                    "ellipse 4294967246 4294967236 150 140 1 fill"}));
    // The disc reaching past the edges paints its part on the surface.
    EXPECT_EQ(Graph::PixelIndex(0, 0), 1);
}

TEST_F(GraphTraceOpen, TextIsQuotedEscapedAndCut) {
    TraceRecorder trace;
    Graph::RawOutText(5, 6, 7, "say \"hi\" \\ \x01\x7F\xFF.");
    const std::string longText(300, 'a');
    Graph::RawOutText(0, 0, 15, longText.c_str(), longText.size());
    const Lines lines = trace.Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "text 5 6 7 \"say \\\"hi\\\" \\\\ \\x01\\x7F\\xFF.\"");
    EXPECT_EQ(lines[1], "text 0 0 15 \"" + std::string(257, 'a') + "\"");
    // Readers of the trace get the text back as it was posted.
    EXPECT_EQ(testsupport::TextsOf(lines)[0].text, "say \"hi\" \\ \x01\x7F\xFF.");
}

TEST_F(GraphTraceOpen, SettingsHaveOneLineEachAndClearingWritesItsRectangle) {
    TraceRecorder trace;
    const uint32_t two[2] = {1, 2};
    const uint8_t mask[8] = {};
    Graph::SetLineStyle(2);
    Graph::SetStdFillMask(3);
    Graph::SetBkColor(4);
    Graph::SetBkMix(false);
    Graph::RemapAllPalette(two, 2);
    Graph::SetFillMask(mask);      // changes the drawing settings directly: no request
    Graph::ClearScreen(1);         // nothing
    Graph::SetStdFillMask(8);
    Graph::ClearScreen(0);
    EXPECT_EQ(trace.Lines(), (Lines{"linestyle 2", "fillmask 3", "bkcolor 4", "bkmode 1", "palette 2",
                                    "fillmask 8", "rect 0 0 1024 729 4 fill"}));
    Graph::SetTrace(nullptr);
    Graph::Line(0, 0, 1, 1, 1);
    EXPECT_EQ(trace.Lines().size(), 7u);
}

TEST_F(GraphTraceOpen, ACursorShowsAsInvertRequestsAroundDrawing) {
    Graph::DisplayCursor(true);
    TraceRecorder trace;
    Graph::Line(0, 0, 5, 5, 1);
    const Lines lines = trace.Lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].rfind("invert 0 0 ", 0), 0u);
    EXPECT_EQ(lines[1], "line 0 0 5 5 1");
    EXPECT_EQ(lines[2], lines[0]);
}
