// Clipping of 2D segments against column 0 and row 0.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <random>

#include "engine3d/QX3D.h"

using Segment = std::array<INTEGER, 4>;

static Segment Clip(Segment l) {
    QX3D::TestLijn(l[0], l[1], l[2], l[3]);
    return l;
}

TEST(TestLijn, EveryCaseInOrder) {
    const Segment nul = {0, 0, 0, 0};
    const INTEGER max = std::numeric_limits<INTEGER>::max(), min = std::numeric_limits<INTEGER>::min();
    const std::pair<Segment, Segment> gevallen[] = {
        // Axis-parallel segments and points; on or beyond an edge they are dropped.
        {{-10, 5, 50, 5}, {0, 5, 50, 5}},   {{50, 5, -10, 5}, {50, 5, 0, 5}}, {{-10, 0, 50, 0}, nul},
        {{-10, -5, 50, -5}, nul},           {{7, -3, 7, 9}, {7, 0, 7, 9}},    {{0, 4, 0, 9}, nul},
        {{-3, 4, -3, 9}, nul},              {{3, 4, 3, 4}, {3, 4, 3, 4}},     {{0, 4, 0, 4}, nul},
        // End visible (1): inside, right/bottom untouched, 1a, 1b, 1c both ways.
        {{10, 20, 30, 40}, {10, 20, 30, 40}}, {{2000, 50, 3000, 900}, {2000, 50, 3000, 900}},
        {{-10, 10, 10, 30}, {0, 20, 10, 30}}, {{30, -10, 10, 10}, {20, 0, 10, 10}},
        {{-10, -5, 10, 15}, {0, 5, 10, 15}},  {{-5, -10, 15, 10}, {5, 0, 15, 10}},
        // End left (2): 2a, 2b, 2c both ways.
        {{10, 10, -10, 30}, {10, 10, 0, 20}}, {{-5, 10, -10, 30}, nul},
        {{20, -10, -10, 20}, {10, 0, 0, 10}}, {{5, -20, -5, 1}, nul},
        // End above-left (3): 3a both ways, end on column 0, 3b.
        {{10, 30, -10, -10}, {10, 30, 0, 10}}, {{10, 10, -10, -30}, {10, 10, 5, 0}},
        {{10, 10, 0, -10}, {10, 10, 5, 0}},    {{-5, -5, -1, -20}, nul}, {{5, -5, -1, -8}, nul},
        // End above (4): 4a (also from row 0, leaving a point), 4b, 4c both ways.
        {{10, 10, 30, -10}, {10, 10, 20, 0}}, {{5, 0, 10, -5}, {5, 0, 5, 0}}, {{-5, 0, 10, -5}, nul},
        {{-10, 20, 20, -10}, {0, 10, 10, 0}}, {{-10, 1, 5, -20}, nul},
        // Crossings at 2.5 and 2.49 round half up.
        {{-1, 2, 1, 3}, {0, 3, 1, 3}}, {{-49, 2, 51, 3}, {0, 2, 51, 3}},
        // INTEGERs that round up past the range as REALs come back as its top.
        {{max, 5, max, 9}, {max, 5, max, 9}}, {{min, min, max, max}, {0, 0, max, max}},
    };
    for (const auto& [in, uit] : gevallen) {
        EXPECT_EQ(Clip(in), uit) << in[0] << " " << in[1] << " " << in[2] << " " << in[3];
    }
}

// Random segments: results are >= 0, and the ends of a clipped segment lie on
// the original one up to the final rounding.
TEST(TestLijn, ClippedEndsStayOnTheSegment) {
    std::mt19937 gen(42);
    std::uniform_int_distribution<INTEGER> d(-1000, 1000);
    for (int n = 0; n < 50000; ++n) {
        const Segment in = {d(gen), d(gen), d(gen), d(gen)}, uit = Clip(in);
        ASSERT_GE(*std::min_element(uit.begin(), uit.end()), 0);
        const double dx = in[2] - in[0], dy = in[3] - in[1], l = std::hypot(dx, dy);
        if (uit == Segment{} || l == 0) continue;
        for (int e = 0; e < 4; e += 2) {
            const double px = uit[e] - in[0], py = uit[e + 1] - in[1];
            ASSERT_LE(std::abs(dx * py - dy * px) / l, 0.75);  // off the carrying line
            ASSERT_GE((dx * px + dy * py) / l, -0.75);        // before the start
            ASSERT_LE((dx * px + dy * py) / l, l + 0.75);     // past the end
        }
    }
}
