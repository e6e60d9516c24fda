// Opening and closing Graph, the palette, the background colour, clearing,
// and the text window with its cursor.
#include <vector>
#include "tests/graph/SurfaceProbes.h"
#include "tests/support/GraphFixture.h"
#include "platform/graph/raster/Raster.h"

using namespace graphtest;

namespace {

int CellWidth() { return Raster::Font().maxWidth; }
int CellHeight() { return Raster::Font().height; }

}  // namespace

using GraphInit = testsupport::OffscreenGraphTest;

TEST_F(GraphInit, LeavesABlackSurfaceInTheStandardPalette) {
    EXPECT_EQ(Graph::Width, 1025u);
    EXPECT_EQ(Graph::Depth, 730u);
    EXPECT_EQ(Graph::NumPColor, 0xFFFFFFFFu);
    const Raster::FontMetrics m = Raster::Font();
    EXPECT_EQ(Graph::Columns, 1025u / static_cast<unsigned>(m.maxWidth));
    EXPECT_EQ(Graph::Rows, (730u - static_cast<unsigned>(m.descent)) / static_cast<unsigned>(m.height));
    const std::vector<uint8_t> back = BackBuffer();
    ASSERT_EQ(back.size(), 1025u * 730u);
    for (uint8_t p : back) ASSERT_EQ(p, 0);
    Graph::Rectangle(0, 0, 2, 2, Kleuren::BROWN, true);
    Graph::Rectangle(2, 0, 4, 2, Kleuren::BRIGHTWHITE, true);
    EXPECT_EQ(Graph::PixelRGB(0, 0), 0xB06000u);    // red 176, green 96, blue 0
    EXPECT_EQ(Graph::PixelRGB(2, 0), 0xFFFFFFu);
    EXPECT_EQ(Graph::PixelRGB(-1, 0), 0u);
    EXPECT_EQ(Graph::PixelIndex(1025, 0), 0u);
}

TEST_F(GraphInit, SecondInitIsRefusedAndTheFirstWindowKeepsWorking) {
    testing::internal::CaptureStderr();
    EXPECT_FALSE(Graph::Init(1, 1, 1025, 730));
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "Graph window was already created\n");
    Graph::Rectangle(10, 10, 12, 12, 7, true);
    EXPECT_EQ(Graph::PixelIndex(10, 10), 7);
    EXPECT_EQ(CountIndex(0, 0, 40, 40, 7), 1);
}

TEST(GraphLifeCycle, DrawingWithoutAWindowNeitherHangsNorPaints) {
    Graph::ModuleInit();
    Graph::Line(0, 0, 100, 100, 3);
    Graph::RawOutText(0, 0, 3, "text");
    EXPECT_EQ(Graph::SetBkColor(5), 0u);
    EXPECT_EQ(Graph::PixelIndex(1, 1), 0);
    Graph::ModuleExit();
}

TEST(GraphLifeCycle, DrawingGoesOnAfterExitAndGraphOpensAgainAfterTheFinaliser) {
    Graph::ModuleInit();
    ASSERT_TRUE(Graph::Init(1, 1, 200, 100));
    Graph::Exit();
    Graph::Line(0, 5, 4, 5, 9);
    EXPECT_EQ(Graph::PixelIndex(3, 5), 9);
    Graph::ModuleExit();
    Graph::ModuleInit();
    ASSERT_TRUE(Graph::Init(1, 1, 300, 50));
    EXPECT_EQ(Graph::Width, 300u);
    EXPECT_EQ(Graph::PixelIndex(3, 5), 0);
    Graph::Line(0, 5, 4, 5, 9);
    EXPECT_EQ(Graph::PixelIndex(3, 5), 9);
    Graph::ModuleExit();
}

TEST(GraphLifeCycle, NonsenseSizesGiveASmallSurfaceNotACrash) {
    Graph::ModuleInit();
    ASSERT_TRUE(Graph::Init(1, 1, -5, 0));
    EXPECT_EQ(Graph::Width, 1u);
    EXPECT_EQ(Graph::Depth, 1u);
    Graph::Disc(0, 0, 1000, 3);
    Graph::RawOutText(0, 0, 15, "hello");
    Graph::ClearScreen(2);
    Graph::ModuleExit();
}

TEST_F(GraphInit, PaletteIsCutAt1024EntriesAndEmptyPalettesChangeNothing) {
    std::vector<uint32_t> big(2000);
    for (uint32_t i = 0; i < big.size(); ++i) big[i] = 0x010101u * (i % 256) + (i >= 1024 ? 7u : 0u);
    EXPECT_EQ(Graph::RemapAllPalette(big.data(), big.size()), 0);
    Graph::Rectangle(0, 0, 2, 2, 200, true);
    EXPECT_EQ(Graph::PixelRGB(0, 0), 0x010101u * 200);

    std::vector<uint32_t> none;
    EXPECT_EQ(Graph::RemapAllPalette(none.data(), 0), 0);
    EXPECT_EQ(Graph::RemapAllPalette(nullptr, 5), 0);
    EXPECT_EQ(Graph::PixelRGB(0, 0), 0x010101u * 200);

    // Indices beyond a short palette show as black.
    const uint32_t three[3] = {0x112233, 0x445566, 0x778899};
    EXPECT_EQ(Graph::RemapAllPalette(three, 3), 0);
    EXPECT_EQ(Graph::PixelRGB(0, 0), 0u);
    Graph::InitStdPalette();
    Graph::Rectangle(0, 0, 2, 2, 6, true);
    EXPECT_EQ(Graph::PixelRGB(0, 0), 0xB06000u);
}

TEST_F(GraphInit, BackgroundColourComesBackAsPostedAndColoursUseTheirLowByte) {
    EXPECT_EQ(Graph::SetBkColor(0x104), 0u);
    EXPECT_EQ(Graph::SetBkColor(2), 0x104u);
    Graph::SetBkColor(0x104);
    Graph::ClearScreen(0);
    Graph::Rectangle(0, 0, 2, 2, 0x30A, true);
    EXPECT_EQ(Graph::PixelIndex(0, 0), 10);
    EXPECT_EQ(Graph::PixelIndex(500, 500), 4);
}

TEST_F(GraphInit, ClearScreenModes) {
    Graph::SetBkColor(4);
    const std::vector<uint8_t> before = BackBuffer();
    for (unsigned mode : {1u, 3u, 0xFFFFFFFFu}) Graph::ClearScreen(mode);
    EXPECT_EQ(BackBuffer(), before);

    // Mode 0: the filled-rectangle rule leaves the last two columns and rows.
    Graph::ClearScreen(0);
    EXPECT_EQ(Graph::PixelIndex(0, 0), 4);
    EXPECT_EQ(Graph::PixelIndex(1022, 727), 4);
    EXPECT_EQ(Graph::PixelIndex(1023, 100), 0);
    EXPECT_EQ(Graph::PixelIndex(100, 728), 0);

    // Mode 2: the text window's cells and the descent below its last row.
    Graph::SetBkColor(2);
    Graph::SetTextWindow(2, 3, 4, 5);
    Graph::ClearScreen(2);
    const int cw = CellWidth(), ch = CellHeight(), d = Raster::Font().descent;
    const int x1 = cw, y1 = 2 * ch, x2 = 4 * cw - 1, y2 = 5 * ch + d - 1;
    EXPECT_EQ(CountIndex(0, 0, 200, 200, 2), (x2 - x1) * (y2 - y1));
    EXPECT_EQ(Graph::PixelIndex(x1, y1), 2);
    EXPECT_EQ(Graph::PixelIndex(x2 - 1, y2 - 1), 2);
}

TEST_F(GraphInit, TextWindowIsClampedAndSorted) {
    const int cw = CellWidth(), ch = CellHeight(), d = Raster::Font().descent;
    Graph::SetBkColor(3);
    Graph::SetTextWindow(9, 7, 0, 100000);   // sorted, then brought into 1..Columns, 1..Rows
    Graph::ClearScreen(2);
    const int rows = static_cast<int>(Graph::Rows);
    EXPECT_EQ(CountIndex(0, 0, 1025, 730, 3), (9 * cw - 1) * (rows * ch + d - 1 - 6 * ch));
    EXPECT_EQ(Graph::PixelIndex(0, 6 * ch), 3);
    EXPECT_EQ(Graph::PixelIndex(0, 6 * ch - 1), 0);
}

TEST_F(GraphInit, CursorInvertsTheCellAtTheClampedTextPosition) {
    const int cw = CellWidth(), ch = CellHeight();
    Graph::SetTextWindow(2, 2, 5, 6);
    Graph::SetTextPosition(100, 0);      // column 5, row 2
    EXPECT_FALSE(Graph::DisplayCursor(true));
    EXPECT_TRUE(Graph::DisplayCursor(true));
    EXPECT_EQ(CountIndex(0, 0, 200, 200, 255), (cw - 1) * (ch - 1));
    EXPECT_EQ(Graph::PixelIndex(4 * cw, ch), 255);
    // Drawing takes the cursor off and puts it back: the cell stays inverted
    // over the cleared surface, not inverted twice.
    Graph::SetBkColor(1);
    Graph::ClearScreen(0);
    EXPECT_EQ(CountIndex(0, 0, 200, 200, 254), (cw - 1) * (ch - 1));
    EXPECT_TRUE(Graph::DisplayCursor(false));
    EXPECT_EQ(CountIndex(0, 0, 200, 200, 254), 0);
    EXPECT_FALSE(Graph::DisplayCursor(false));
}

TEST_F(GraphInit, ClearingPutsTheCustomFillMaskBack) {
    const uint8_t stripes[8] = {0xFF, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0};
    Graph::SetFillMask(stripes);
    EXPECT_EQ(Graph::GetStdFillMask(), Graph::PATSYM_SOLID);
    Graph::SetBkColor(1);
    Graph::ClearScreen(0);
    EXPECT_EQ(CountIndex(0, 0, 100, 100, 1), 100 * 100);
    Graph::Rectangle(0, 0, 10, 10, 5, true);     // fills columns and rows 0..8
    EXPECT_EQ(Graph::PixelIndex(3, 0), 5);
    EXPECT_EQ(Graph::PixelIndex(3, 1), 1);
    EXPECT_EQ(Graph::PixelIndex(3, 2), 5);

    Graph::SetStdFillMask(Graph::PATSYM_HORIZ);
    Graph::ClearScreen(0);
    EXPECT_EQ(CountIndex(0, 0, 100, 100, 1), 100 * 100);
    EXPECT_EQ(Graph::GetStdFillMask(), Graph::PATSYM_HORIZ);
}
