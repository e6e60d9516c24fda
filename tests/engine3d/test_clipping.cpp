// Clipping of 2D segments against column 0 and row 0.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

#include "engine3d/QX3D.h"

using namespace QX3D;

namespace {

struct Lijnstuk {
    INTEGER x1, y1, x2, y2;
    bool operator==(const Lijnstuk&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Lijnstuk& l) {
    return os << "(" << l.x1 << ", " << l.y1 << ")-(" << l.x2 << ", " << l.y2 << ")";
}

Lijnstuk Clip(Lijnstuk l) {
    TestLijn(l.x1, l.y1, l.x2, l.y2);
    return l;
}

const Lijnstuk Nul = {0, 0, 0, 0};

struct Geval {
    const char* naam;
    Lijnstuk in, uit;
};

void Controleer(std::initializer_list<Geval> gevallen) {
    for (const Geval& g : gevallen) {
        EXPECT_EQ(Clip(g.in), g.uit) << g.naam << " " << g.in;
    }
}

}  // namespace

TEST(TestLijn, AxisParallelSegmentsAndPoints) {
    Controleer({
        {"horizontal, cut at column 0", {-10, 5, 50, 5}, {0, 5, 50, 5}},
        {"horizontal, reversed", {50, 5, -10, 5}, {50, 5, 0, 5}},
        {"horizontal on row 0 is dropped", {-10, 0, 50, 0}, Nul},
        {"horizontal above row 0 is dropped", {-10, -5, 50, -5}, Nul},
        {"vertical, cut at row 0", {7, -3, 7, 9}, {7, 0, 7, 9}},
        {"vertical, reversed", {7, 9, 7, -3}, {7, 9, 7, 0}},
        {"vertical on column 0 is dropped", {0, 4, 0, 9}, Nul},
        {"vertical left of column 0 is dropped", {-3, 4, -3, 9}, Nul},
        {"visible point", {3, 4, 3, 4}, {3, 4, 3, 4}},
        {"point on column 0", {0, 4, 0, 4}, Nul},
        {"point on row 0", {4, 0, 4, 0}, Nul},
        {"point above and left", {-4, -4, -4, -4}, Nul},
    });
}

TEST(TestLijn, EndPointVisible) {
    Controleer({
        {"inside", {10, 20, 30, 40}, {10, 20, 30, 40}},
        {"right and below are not clipped", {2000, 50, 3000, 900}, {2000, 50, 3000, 900}},
        {"1a start left", {-10, 10, 10, 30}, {0, 20, 10, 30}},
        {"1b start above", {30, -10, 10, 10}, {20, 0, 10, 10}},
        {"1c start above-left, enters through column 0", {-10, -5, 10, 15}, {0, 5, 10, 15}},
        {"1c start above-left, enters through row 0", {-5, -10, 15, 10}, {5, 0, 15, 10}},
    });
}

TEST(TestLijn, EndPointLeft) {
    Controleer({
        {"2a start visible", {10, 10, -10, 30}, {10, 10, 0, 20}},
        {"2b start left too", {-5, 10, -10, 30}, Nul},
        {"2b start above-left", {-5, -3, -1, 4}, Nul},
        {"2c start above, both ends cut", {20, -10, -10, 20}, {10, 0, 0, 10}},
        {"2c start above, misses the quadrant", {5, -20, -5, 1}, Nul},
    });
}

TEST(TestLijn, EndPointAboveOrAboveLeft) {
    Controleer({
        {"3a leaves through column 0", {10, 30, -10, -10}, {10, 30, 0, 10}},
        {"3a leaves through row 0", {10, 10, -10, -30}, {10, 10, 5, 0}},
        {"3a end on column 0", {10, 10, 0, -10}, {10, 10, 5, 0}},
        {"3b both outside", {-5, -5, -1, -20}, Nul},
        {"3b start left", {-5, 5, -1, -8}, Nul},
        {"3b start above", {5, -5, -1, -8}, Nul},
    });
}

TEST(TestLijn, EndPointAbove) {
    Controleer({
        {"4a start visible", {10, 10, 30, -10}, {10, 10, 20, 0}},
        {"4b start above", {-5, -5, 10, -1}, Nul},
        {"4a start on row 0 shrinks to a point", {5, 0, 10, -5}, {5, 0, 5, 0}},
        {"4b start left on row 0", {-5, 0, 10, -5}, Nul},
        {"4c start left, crosses the quadrant", {-10, 20, 20, -10}, {0, 10, 10, 0}},
        {"4c start left, misses the quadrant", {-10, 1, 5, -20}, Nul},
    });
}

TEST(TestLijn, CrossingsRoundHalfUp) {
    Controleer({
        {"crossing at 2.5", {-1, 2, 1, 3}, {0, 3, 1, 3}},
        {"crossing at 2.49", {-49, 2, 51, 3}, {0, 2, 51, 3}},
    });
}

// INTEGER values beyond 2^24 round when they become REALs; the largest round
// up past the INTEGER range and must come back as its top, not overflow.
TEST(TestLijn, ExtremeIntegersComeBackInRange) {
    const INTEGER max = std::numeric_limits<INTEGER>::max();
    const INTEGER min = std::numeric_limits<INTEGER>::min();
    EXPECT_EQ(Clip({max, 5, max, 9}), (Lijnstuk{max, 5, max, 9}));
    EXPECT_EQ(Clip({min, min, max, max}), (Lijnstuk{0, 0, max, max}));
    const Lijnstuk l = Clip({min, max, max, min});
    EXPECT_GE(std::min({l.x1, l.y1, l.x2, l.y2}), 0);
}

// Random segments: every result is >= 0; a segment inside the quadrant is
// untouched; the ends of a clipped segment lie on the original segment up to
// the final rounding (half a pixel each way, plus float rounding).
TEST(TestLijn, PropertiesOverRandomSegments) {
    std::mt19937 gen(42);
    for (int bereik : {20, 1000, 1 << 20}) {
        std::uniform_int_distribution<INTEGER> d(-bereik, bereik);
        for (int n = 0; n < 20000; ++n) {
            const Lijnstuk in = {d(gen), d(gen), d(gen), d(gen)};
            const Lijnstuk uit = Clip(in);
            ASSERT_GE(std::min({uit.x1, uit.y1, uit.x2, uit.y2}), 0) << in;
            if (in.x1 > 0 && in.y1 > 0 && in.x2 > 0 && in.y2 > 0 && in.x1 != in.x2 && in.y1 != in.y2) {
                ASSERT_EQ(uit, in);
            }
            if (uit == Nul || (in.x1 == in.x2 && in.y1 == in.y2)) continue;
            const double dx = double(in.x2) - in.x1, dy = double(in.y2) - in.y1;
            const double lengte = std::hypot(dx, dy);
            const double marge = 0.75 + 1e-6 * bereik;
            for (auto [px, py] : {std::pair{uit.x1, uit.y1}, std::pair{uit.x2, uit.y2}}) {
                // Distance from the carrying line, and position along the segment.
                const double afstand = std::abs(dx * (py - in.y1) - dy * (px - in.x1)) / lengte;
                const double t = (dx * (px - in.x1) + dy * (py - in.y1)) / (lengte * lengte);
                ASSERT_LE(afstand, marge) << in << " -> " << uit;
                ASSERT_GE(t * lengte, -marge) << in << " -> " << uit;
                ASSERT_LE(t * lengte, lengte + marge) << in << " -> " << uit;
            }
        }
    }
}
