// Screen settings and the perspective projection.
#include <gtest/gtest.h>

#include <limits>

#include "engine3d/QX3D.h"

using namespace QX3D;

TEST(Projection, ZeroBeforeInitThenTruncatedTowardZeroAroundTheIntegerCentre) {
    EXPECT_EQ(ProjectieX({100, 50, 10}), 0);
    Init3D(1025, 730, 60);
    const float vlak = 886.80999756f;  // the distance to the plane as a REAL
    EXPECT_EQ(ProjectieX({1e6f, 0, 1}), 512 + 886809998);
    struct { Vector v; INTEGER x, y; } gevallen[] = {
        {{0, 0, 100}, 512, 365},      {{100, 0, 886.81f}, 612, 365},  {{-100, 0, 886.81f}, 413, 365},
        {{0, 50, 443.405f}, 512, 465}, {{3.5f, -3.7f, vlak}, 516, 362}, {{-0.7f, 0, vlak}, 512, 365},
        {{100, 0, -vlak}, 413, 365},  // behind the eye: mirrored through the centre
    };
    for (const auto& g : gevallen) {
        EXPECT_EQ(ProjectieX(g.v), g.x);
        EXPECT_EQ(ProjectieY(g.v), g.y);
    }
}

// z = 0, non-finite values and columns beyond INTEGER: nothing is converted,
// the value reads 0 and the point is reported as without projection.
TEST(Projection, PointsWithoutAProjectionReadZero) {
    Init3D(1025, 730, 60);
    const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
    for (Vector v : {Vector{1, 1, 0}, {1, 1, -0.0f}, {inf, 0, 1}, {0, nan, 1}, {0, 0, inf}, {1e30f, 0, 1},
                     {2.2e9f, 0, 886.81f}, {-2.2e9f, 0, 886.81f}, {0, 2.2e9f, 886.81f}}) {
        EXPECT_FALSE(ProjectieGedefinieerd(v));
    }
    EXPECT_TRUE(ProjectieGedefinieerd({-2.0e9f, 2.0e9f, 886.81f}));
    INTEGER k = -1, r = -1;
    EXPECT_FALSE(ProjectiePunt({1, 1e30f, 10}, k, r));
    EXPECT_EQ(ProjectieX({1, 1e30f, 10}), 512 + 89);  // the column alone is defined
    EXPECT_EQ(k + r, 0);
    Init3D(1025, 730, 0);  // tan 0 = 0: an infinite distance
    EXPECT_FALSE(ProjectieGedefinieerd({1, 1, 10}));
}
