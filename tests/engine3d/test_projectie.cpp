// Screen settings and the perspective projection.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine3d/QX3D.h"

using namespace QX3D;

namespace {

class Projectie : public ::testing::Test {
protected:
    void SetUp() override { Init3D(1025, 730, 60); }
};

const float Inf = std::numeric_limits<float>::infinity();
const float NaN = std::numeric_limits<float>::quiet_NaN();

}  // namespace

TEST(ProjectieVoorInit, EveryPointLandsOnColumnAndRowZero) {
    EXPECT_EQ(ProjectieX({100, 50, 10}), 0);
    EXPECT_EQ(ProjectieY({100, 50, 10}), 0);
}

TEST_F(Projectie, CentreUsesTheIntegerHalfOfTheSize) {
    EXPECT_EQ(ProjectieX({0, 0, 100}), 512);
    EXPECT_EQ(ProjectieY({0, 0, 100}), 365);
    Init3D(101, 51, 90);
    EXPECT_EQ(ProjectieX({0, 0, 1}), 50);
    EXPECT_EQ(ProjectieY({0, 0, 1}), 25);
}

// The distance to the plane for 1025 pixels and 60 degrees is the REAL
// 886.80999756: a far-off point shows it to the last digit.
TEST_F(Projectie, DistanceToThePlaneIsRoundedToAReal) {
    EXPECT_EQ(ProjectieX({1e6f, 0, 1}) - 512, 886809998);
}

TEST_F(Projectie, OffsetsTruncateTowardZero) {
    EXPECT_EQ(ProjectieX({100, 0, 886.81f}), 612);
    EXPECT_EQ(ProjectieX({-100, 0, 886.81f}), 413);  // -99.5 truncates to -99
    EXPECT_EQ(ProjectieY({0, 50, 443.405f}), 465);   // y grows downward
    // At the depth of the plane the offset is x itself: 3.5, -3.7 and -0.7 pixels.
    EXPECT_EQ(ProjectieX({3.5f, 0, 886.80999756f}), 516);
    EXPECT_EQ(ProjectieX({-3.7f, 0, 886.80999756f}), 509);
    EXPECT_EQ(ProjectieX({-0.7f, 0, 886.80999756f}), 512);
}

TEST_F(Projectie, PointsBehindTheEyeAreMirroredThroughTheCentre) {
    EXPECT_EQ(ProjectieX({100, 0, -886.80999756f}), 413);
    EXPECT_EQ(ProjectieY({0, -50, -443.40499878f}), 465);
}

// Points whose projection is not a pixel: no conversion happens, the result
// is 0 and the point is reported as undefined.
TEST_F(Projectie, PointsWithoutAProjectionGiveZeroAndAreReported) {
    const Vector ongeldig[] = {{1, 1, 0},      {1, 1, -0.0f}, {Inf, 0, 1},    {0, NaN, 1},   {0, 0, Inf},
                               {1e30f, 0, 1},  {0, -1e30f, 1}, {3e6f, 0, 1.0f}, {0, 0, NaN}};
    for (const Vector& v : ongeldig) {
        SCOPED_TRACE(testing::Message() << v.x << " " << v.y << " " << v.z);
        EXPECT_FALSE(ProjectieGedefinieerd(v));
    }
    EXPECT_EQ(ProjectieX({1, 1, 0}), 0);
    EXPECT_EQ(ProjectieY({1e30f, 1e30f, 1}), 0);
    EXPECT_TRUE(ProjectieGedefinieerd({100, -100, 5}));
    EXPECT_TRUE(ProjectieGedefinieerd({0, 0, 1e-30f}));  // centre: offset 0 whatever the depth
}

TEST_F(Projectie, OneAxisCanBeDefinedWhileTheOtherIsNot) {
    const Vector v = {1, 1e30f, 10};
    EXPECT_EQ(ProjectieX(v), 512 + 89);
    EXPECT_EQ(ProjectieY(v), 0);
    EXPECT_FALSE(ProjectieGedefinieerd(v));
    INTEGER k = -1, r = -1;
    EXPECT_FALSE(ProjectiePunt(v, k, r));
    EXPECT_EQ(k, 0);  // the pair is all or nothing
    EXPECT_EQ(r, 0);
    EXPECT_TRUE(ProjectiePunt({-100, 50, 886.80999756f}, k, r));
    EXPECT_EQ(k, 413);
    EXPECT_EQ(r, 415);
}

TEST_F(Projectie, ColumnsMustFitInAnInteger) {
    // Offsets of about +-2.0e9 pixels fit beside the centre, +-2.2e9 do not.
    const float z = 886.80999756f;
    EXPECT_TRUE(ProjectieGedefinieerd({2.0e9f, 0, z}));
    EXPECT_TRUE(ProjectieGedefinieerd({-2.0e9f, 0, z}));
    EXPECT_FALSE(ProjectieGedefinieerd({2.2e9f, 0, z}));
    EXPECT_FALSE(ProjectieGedefinieerd({-2.2e9f, 0, z}));
    EXPECT_FALSE(ProjectieGedefinieerd({0, 2.2e9f, z}));
}

TEST(Init3D, ADegenerateAngleLeavesEveryOffPointUndefined) {
    Init3D(1025, 730, 0);  // tan 0 = 0: an infinite distance
    EXPECT_FALSE(ProjectieGedefinieerd({1, 1, 10}));
    EXPECT_EQ(ProjectieX({1, 1, 10}), 0);
}
