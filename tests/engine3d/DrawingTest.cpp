// Wireframe drawing through the graphics service: the line requests the
// engine posts (trace) and the pixels they paint (back buffer).
#include <gtest/gtest.h>

#include <random>

#include "platform/graph/Graph.h"
#include "platform/graph/GraphProbe.h"
#include "tests/engine3d/LinePath.h"
#include "tests/support/OffscreenGraph.h"
#include "tests/support/TraceRecorder.h"

using namespace QX3D;
using testsupport::TraceRecorder;
using testsupport::TracedLine;
using Lines = std::vector<std::string>;

namespace {
struct Drawing : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(testsupport::OffscreenGraphForProcess());
        Init3D(1025, 730, 60);
    }
};
std::string Edge(Vector a, Vector b, int k) {
    return TracedLine(ProjectieX(a), ProjectieY(a), ProjectieX(b), ProjectieY(b), k);
}
}  // namespace

// Six different slot colours show which slot each edge took; a solid with
// one corner at z = 0 loses the three edges at that corner only.
TEST_F(Drawing, SolidsAndPolygonsDrawTheirEdgesInOrder) {
    Polyhedron p = MaakBalk({0, 0, 200}, 100, 60, 80, 0);
    for (int j = 0; j < 6; ++j) p.kleur[j] = 10 + j;
    const Polygoon q = MaakPolygoon({-9, -9, 90}, {9, -9, 90}, {9, 9, 90}, {-9, 9, 90}, 4);
    TraceRecorder s;
    TekenPolyhedron(p);
    TekenPolygoon(q);
    const Vector *h = p.hoek, *g = q.hoek;
    EXPECT_EQ(s.Lines(), (Lines{Edge(h[0], h[1], 10), Edge(h[0], h[3], 10), Edge(h[1], h[2], 10),
                                  Edge(h[2], h[3], 10), Edge(h[4], h[5], 15), Edge(h[4], h[7], 15),
                                  Edge(h[5], h[6], 15), Edge(h[6], h[7], 15), Edge(h[0], h[4], 11),
                                  Edge(h[1], h[5], 11), Edge(h[3], h[7], 13), Edge(h[2], h[6], 13),
                                  Edge(g[0], g[1], 4), Edge(g[1], g[2], 4), Edge(g[2], g[3], 4), Edge(g[3], g[0], 4)}));
    p.hoek[0].z = 0;
    TraceRecorder withoutCorner;
    TekenPolyhedron(p);
    Teken3DLijn({0, 0, 100}, {1e30f, 0, 1}, 3);
    const Lines r = withoutCorner.Lines();
    ASSERT_EQ(r.size(), 9u);
    EXPECT_EQ(r.front(), Edge(h[1], h[2], 10));
}

TEST_F(Drawing, SegmentsAreClippedAtTheLeftAndTopOnly) {
    Graph::Rectangle(0, 0, 1025, 730, 0, true);
    TraceRecorder s;
    Lijn(-10, 10, 10, 30, 12);
    Lijn(2000, 50, 3000, 900, 2);
    Lijn(-50, -50, -10, -20, 2);  // misses the surface: the empty point (0, 0)
    Teken3DLijn({0, 0, 100}, {-1000, 0, 10}, 9);
    EXPECT_EQ(s.Lines(), (Lines{TracedLine(0, 20, 10, 30, 12), TracedLine(2000, 50, 3000, 900, 2),
                                  TracedLine(0, 0, 0, 0, 2), TracedLine(512, 365, 0, 365, 9)}));
    EXPECT_EQ(Graph::PixelIndex(0, 20), 12);  // the start is painted, the end is not
    EXPECT_EQ(Graph::PixelIndex(10, 30), 0);
    EXPECT_EQ(Graph::PixelIndex(0, 0), 0);
}

// The whole path from points to pixels on random bytes: no crash, no hang.
TEST_F(Drawing, LinePathOnRandomBytesReachesTheRasteriser) {
    std::mt19937 gen(11);
    std::vector<uint8_t> bytes;
    for (int n = 0; n < 3000; ++n) {
        bytes.resize(gen() % 160);
        for (uint8_t& b : bytes) b = gen() % 3 ? static_cast<uint8_t>(gen()) : 0;
        linepath::Run(bytes.data(), bytes.size(), linepath::WithDrawing{});
    }
}
