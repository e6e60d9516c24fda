// Wireframe drawing through the graphics service: the line requests the
// engine posts (trace) and the pixels they paint (back buffer).
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "engine3d/QX3D.h"
#include "platform/graph/GraphInspect.h"
#include "tests/engine3d/LijnPad.h"
#include "tests/engine3d/Spoor.h"

using namespace QX3D;
using spoor::Spoor;
using Regels = std::vector<std::string>;

namespace {

class Tekenen : public ::testing::Test {
protected:
    void SetUp() override {
        spoor::OpenVenster();
        Init3D(1025, 730, 60);
    }
};

std::string Rand(Vector a, Vector b, int kleur) {
    return spoor::Lijn(ProjectieX(a), ProjectieY(a), ProjectieX(b), ProjectieY(b), kleur);
}

// A box in front of the eye whose six slots hold different colours, so every
// line shows which slot it took.
Polyhedron KleurrijkeBalk() {
    Polyhedron p = MaakBalk({0, 0, 200}, 100, 60, 80, 0);
    for (int j = 0; j < 6; ++j) p.kleur[j] = 10 + j;
    return p;
}

}  // namespace

TEST_F(Tekenen, SolidDrawsTwelveEdgesInFixedOrderAndSlots) {
    const Polyhedron p = KleurrijkeBalk();
    Spoor s;
    TekenPolyhedron(p);
    const Vector* h = p.hoek;
    const Regels verwacht = {
        Rand(h[0], h[1], 10), Rand(h[0], h[3], 10), Rand(h[1], h[2], 10), Rand(h[2], h[3], 10),
        Rand(h[4], h[5], 15), Rand(h[4], h[7], 15), Rand(h[5], h[6], 15), Rand(h[6], h[7], 15),
        Rand(h[0], h[4], 11), Rand(h[1], h[5], 11), Rand(h[3], h[7], 13), Rand(h[2], h[6], 13),
    };
    EXPECT_EQ(s.Regels(), verwacht);
}

TEST_F(Tekenen, PolygonDrawsItsFourSidesClosingBackToTheFirstCorner) {
    const Polygoon q = MaakPolygoon({-10, -10, 100}, {10, -10, 100}, {10, 10, 100}, {-10, 10, 100}, 4);
    Spoor s;
    TekenPolygoon(q);
    const Vector* h = q.hoek;
    EXPECT_EQ(s.Regels(), (Regels{Rand(h[0], h[1], 4), Rand(h[1], h[2], 4), Rand(h[2], h[3], 4),
                                  Rand(h[3], h[0], 4)}));
}

TEST_F(Tekenen, SegmentsAreClippedAtTheLeftAndTopOnly) {
    Spoor s;
    Lijn(-10, 10, 10, 30, 2);
    Lijn(2000, 50, 3000, 900, 2);
    Lijn(-50, -50, -10, -20, 2);  // misses the surface: the empty point (0, 0)
    Teken3DLijn({0, 0, 100}, {-1000, 0, 10}, 9);
    EXPECT_EQ(s.Regels(), (Regels{spoor::Lijn(0, 20, 10, 30, 2),
                                  spoor::Lijn(2000, 50, 3000, 900, 2), spoor::Lijn(0, 0, 0, 0, 2),
                                  spoor::Lijn(512, 365, 0, 365, 9)}));
}

// An edge with an end that has no projection is left out; the others are drawn.
TEST_F(Tekenen, EdgesWithAnUndefinedEndAreSkipped) {
    Polyhedron p = KleurrijkeBalk();
    p.hoek[0].z = 0;  // corner 0 ends edges 0-1, 0-3 and 0-4
    Spoor s;
    TekenPolyhedron(p);
    Teken3DLijn({1, 1, 0}, {0, 0, 100}, 3);
    Teken3DLijn({0, 0, 100}, {1e30f, 0, 1}, 3);
    const Regels r = s.Regels();
    ASSERT_EQ(r.size(), 9u);
    EXPECT_EQ(r[0], Rand(p.hoek[1], p.hoek[2], 10));
    EXPECT_EQ(r[8], Rand(p.hoek[2], p.hoek[6], 13));
}

TEST_F(Tekenen, AClippedLinePaintsItsStartButNotItsEnd) {
    Graph::Rectangle(0, 0, 1025, 730, 0, true);
    Lijn(-10, 10, 10, 30, 12);  // becomes (0, 20)-(10, 30)
    Lijn(-5, 3, -1, 3, 12);     // dropped entirely
    Graph::Sync();
    EXPECT_EQ(Graph::PixelIndex(0, 20), 12);
    EXPECT_EQ(Graph::PixelIndex(5, 25), 12);
    EXPECT_EQ(Graph::PixelIndex(10, 30), 0);
    EXPECT_EQ(Graph::PixelIndex(0, 3), 0);
    EXPECT_EQ(Graph::PixelIndex(0, 0), 0);
}

// The whole path from points to pixels on random bytes: no crash, no hang.
TEST_F(Tekenen, LinePathOnRandomBytesReachesTheRasteriser) {
    std::mt19937 gen(11);
    std::vector<uint8_t> bytes;
    for (int n = 0; n < 3000; ++n) {
        bytes.resize(gen() % 160);
        for (uint8_t& b : bytes) b = static_cast<uint8_t>(gen());
        lijnpad::Run(bytes.data(), bytes.size(), true);
    }
    Graph::Sync();
}
