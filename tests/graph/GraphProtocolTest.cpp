// The request protocol: every request is carried out once, in the order
// posted, on both surfaces, however fast the caller posts.
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>
#include "tests/graph/SurfaceProbes.h"
#include "tests/support/GraphFixture.h"
#include "tests/support/TempFiles.h"
#include "platform/graph/detail/GraphRequest.h"

using namespace graphtest;
using Graph::detail::DrawState;
using Graph::detail::Request;

namespace {

// A small deterministic generator for request streams.
struct Lcg {
    uint32_t state;
    uint32_t Next(uint32_t range) {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % range;
    }
};

// Draws the same stream through Graph and, one request at a time, straight
// onto a reference surface.
class ReferencePicture {
public:
    ReferencePicture() : pixels_(kWidth * kDepth, 0) {}

    void Line(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, uint32_t c) {
        Graph::Line(x1, y1, x2, y2, c);
        Apply(Graph::detail::OP_LINE, {x1, y1, x2, y2, c}, false);
    }
    void Rectangle(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, uint32_t c, bool fill) {
        Graph::Rectangle(x1, y1, x2, y2, c, fill);
        Apply(Graph::detail::OP_RECTANGLE, {x1, y1, x2, y2, c}, fill);
    }
    void BkColor(uint32_t c) {
        Graph::SetBkColor(c);
        Apply(Graph::detail::OP_BKCOLOR, {c, 0, 0, 0, 0}, false);
    }
    void Text(uint32_t x, uint32_t y, uint32_t c, const char* text) {
        Graph::RawOutText(x, y, c, text, std::strlen(text) + 1);
        Request r;
        r.op = Graph::detail::OP_TEXT;
        r.word[0] = x;
        r.word[1] = y;
        r.word[2] = c;
        r.textLength = static_cast<uint32_t>(std::strlen(text));
        std::memcpy(r.text, text, r.textLength);
        Run(r);
    }
    const std::vector<uint8_t>& Pixels() const { return pixels_; }

private:
    void Apply(uint8_t op, std::initializer_list<uint32_t> words, bool fill) {
        Request r;
        r.op = op;
        int i = 0;
        for (uint32_t w : words) r.word[i++] = w;
        r.flag = fill;
        Run(r);
    }
    void Run(const Request& r) {
        Graph::detail::ApplySetting(r, state_);
        Raster::Surface s{pixels_.data(), kWidth, kDepth, kWidth};
        Graph::detail::Paint(r, state_, s);
    }
    std::vector<uint8_t> pixels_;
    DrawState state_;
};

void PostRandomRequest(ReferencePicture& ref, Lcg& rng) {
    const uint32_t x1 = rng.Next(1100), y1 = rng.Next(800), x2 = rng.Next(1100), y2 = rng.Next(800);
    const uint32_t colour = rng.Next(300);
    switch (rng.Next(10)) {
    case 0: ref.BkColor(rng.Next(16)); break;
    case 1: ref.Rectangle(x1, y1, x1 + rng.Next(40), y1 + rng.Next(40), colour, true); break;
    case 2: ref.Rectangle(x1, y1, x2, y2, colour, false); break;
    case 3: ref.Text(x1, y1, colour, "SCORE 1234"); break;
    case 4:
        // A full clear now and then, as frames do.
        if (rng.Next(100) == 0) ref.Rectangle(0, 0, 1025, 730, 0, true);
        break;
    default: ref.Line(x1, y1, x2, y2, colour); break;
    }
}

}  // namespace

using GraphProtocol = testsupport::OffscreenGraphTest;

TEST_F(GraphProtocol, BurstOf100000RequestsEndsWithTheRightPictureOnBothSurfaces) {
    ReferencePicture ref;
    // Init left the surfaces black with a black opaque background, as the
    // reference starts.
    Lcg rng{12345};
    for (int i = 0; i < 100000; ++i) PostRandomRequest(ref, rng);
    const std::vector<uint8_t> back = BackBuffer();
    EXPECT_TRUE(back == ref.Pixels());
    EXPECT_TRUE(PublishedWindowSurface() == back);
}

TEST_F(GraphProtocol, EveryKindOfRequestKeepsBothSurfacesEqual) {
    const uint8_t mask[8] = {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81};
    Graph::SetBkColor(3);
    Graph::ClearScreen(0);
    Graph::SetLineStyle(Graph::LNSTYLE_DASHDOT);
    Graph::Rectangle(20, 20, 300, 200, 12, false);
    Graph::Ellipse(400, 300, 120, 60, 14, false);
    Graph::SetStdFillMask(Graph::PATSYM_DIAG1);
    Graph::Disc(700, 300, 90, 10);
    Graph::SetBkMix(false);
    Graph::Rectangle(100, 400, 300, 600, 9, true);
    Graph::RawOutText(50, 650, 15, "transparent");
    Graph::SetFillMask(mask);
    Graph::Rectangle(500, 500, 700, 700, 13, true);
    Graph::SetBkMix(true);
    Graph::RawOutText(600, 650, 11, "opaque");
    Graph::DisplayCursor(true);
    Graph::Line(0, 729, 1024, 0, 7);
    Graph::SetTextWindow(3, 3, 10, 10);
    Graph::ClearScreen(2);
    const std::vector<uint8_t> back = BackBuffer();
    EXPECT_TRUE(PublishedWindowSurface() == back);
    EXPECT_GT(CountIndex(0, 0, 1025, 730, 3), 0);
}

// The window surface changes only when a frame is published, and then holds
// every request posted so far; a wait with nothing drawn publishes nothing.
TEST_F(GraphProtocol, TheWindowSurfaceHoldsTheFramePublishedLast) {
    Graph::Rectangle(0, 0, 100, 100, 5, true);       // frame 1
    Graph::PublishFrame();
    const uint64_t frames = Graph::FramesPublished();
    Graph::Rectangle(0, 0, 1025, 730, 0, true);      // frame 2 begins with a clear
    Graph::Line(0, 200, 50, 200, 6);
    std::vector<uint8_t> shown = WindowSurface();
    EXPECT_EQ(shown[10 * kWidth + 10], 5);           // still frame 1, however long the caller stalls
    EXPECT_EQ(shown[200 * kWidth + 10], 0);
    shown = PublishedWindowSurface();
    EXPECT_EQ(shown[10 * kWidth + 10], 0);
    EXPECT_EQ(shown[200 * kWidth + 10], 6);
    EXPECT_EQ(Graph::FramesPublished(), frames + 1);
    Graph::PublishFrame();                           // nothing drawn since
    EXPECT_EQ(Graph::FramesPublished(), frames + 1);
}

TEST_F(GraphProtocol, APaletteReachesTheWindowWithTheNextFrame) {
    const CARDINAL grey[16] = {0x101010};
    Graph::PublishFrame();
    auto shownColour0 = [] { return Graph::WindowSurface().palette.RGB(0); };
    EXPECT_EQ(shownColour0(), 0u);
    Graph::RemapAllPalette(grey, 16);
    EXPECT_EQ(shownColour0(), 0u);
    Graph::PublishFrame();
    EXPECT_EQ(shownColour0(), 0x101010u);
}

TEST_F(GraphProtocol, AClearThatLeavesAStripKeepsTheStripOnTheWindowSurface) {
    // ClearScreen(0) leaves the last two columns and rows; whatever was
    // there must survive on both surfaces alike.
    Graph::Line(1024, 0, 1024, 730, 9);
    Graph::Line(0, 729, 1025, 729, 9);
    Graph::ClearScreen(0);
    Graph::ClearScreen(0);
    const std::vector<uint8_t> back = BackBuffer();
    EXPECT_EQ(back[5 * kWidth + 1024], 9);
    EXPECT_TRUE(PublishedWindowSurface() == back);
}

TEST_F(GraphProtocol, PaddedRowsStayOutOfProbesAndSnapshots) {
    auto& sv = Graph::detail::TheService();
    ASSERT_GT(sv.back.pitch, kWidth);   // rows padded, else this test shows nothing
    // The last pixel of one row and the first of the next lie a pitch apart.
    Graph::Line(1024, 5, 1024, 6, 9);
    Graph::Line(0, 6, 1, 6, 12);
    EXPECT_EQ(Graph::PixelIndex(1024, 5), 9);
    EXPECT_EQ(Graph::PixelIndex(0, 6), 12);
    EXPECT_EQ(Graph::PixelIndex(1023, 5), 0);
    // A snapshot is Width x Depth, whatever the pitch.
    const std::string path = testsupport::FreshFolder("graph-") + "/pitch.png";
    ASSERT_TRUE(Graph::WritePng(path.c_str()));
    unsigned char header[24] = {};
    std::FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    const std::size_t got = std::fread(header, 1, sizeof header, f);
    std::fclose(f);
    std::remove(path.c_str());
    ASSERT_EQ(got, sizeof header);
    auto bigEndian = [&](int at) {
        return uint32_t{header[at]} << 24 | uint32_t{header[at + 1]} << 16 | uint32_t{header[at + 2]} << 8 |
               header[at + 3];
    };
    EXPECT_EQ(bigEndian(16), static_cast<uint32_t>(kWidth));
    EXPECT_EQ(bigEndian(20), static_cast<uint32_t>(kDepth));
}
