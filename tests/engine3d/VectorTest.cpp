// Construction and turns of the engine's records.
#include <gtest/gtest.h>

#include <random>

#include "engine3d/QX3D.h"

using namespace QX3D;

namespace {
void ExpectNear(Vector a, Vector b, float tol = 1e-5f) {
    EXPECT_NEAR(a.x, b.x, tol);
    EXPECT_NEAR(a.y, b.y, tol);
    EXPECT_NEAR(a.z, b.z, tol);
}
const Vector O = {0, 0, 0};
}  // namespace

TEST(Records, BoxCornersFollowTheCornerConventionAndSolidsTakeEightCornersSixColours) {
    const Polyhedron p = MaakBalk(O, 2, 4, 6, 11);
    const Vector verwacht[8] = {{-1, -2, 3}, {-1, -2, -3}, {1, -2, -3}, {1, -2, 3},
                                {-1, 2, 3},  {-1, 2, -3},  {1, 2, -3},  {1, 2, 3}};
    for (int i = 0; i < 8; ++i) ExpectNear(p.hoek[i], verwacht[i], 0);
    for (CARDINAL k : p.kleur) EXPECT_EQ(k, 11u);

    Vector hoeken[10];
    for (int i = 0; i < 10; ++i) hoeken[i] = {float(i), 0, 0};
    const CARDINAL kleuren[7] = {1, 2, 3, 4, 5, 6, 7};
    Polyhedron q = MaakPolyhedron(hoeken, kleuren);
    EXPECT_EQ(q.hoek[7].x, 7.0f);
    EXPECT_EQ(q.kleur[5], 6u);
    VerschuifPolyhedron(q, {1, 2, 3});
    DraaiPolyhedronRondAs(q, 37, {1, 1, 0}, {0, 5, 0});
    for (int j = 0; j < 6; ++j) EXPECT_EQ(q.kleur[j], kleuren[j]);  // colours ride along untouched
    EXPECT_EQ(Norm({3, 4, 0}), 5.0f);
}

// About the z axis (either sign, or no direction) +x turns towards +y; about
// any other direction a positive turn goes against the right-hand rule.
TEST(Turns, QuarterTurnsAndTheirSenses) {
    struct Geval { Vector v, as, punt, uit; } gevallen[] = {
        {{1, 0, 0}, {0, 0, 1}, O, {0, 1, 0}},      {{1, 0, 0}, {0, 0, -1}, O, {0, 1, 0}},
        {{1, 0, 0}, {-0.0f, 0, 3}, O, {0, 1, 0}},  {{13, -4, 2}, O, {10, -4, 7}, {10, -1, 2}},
        {{0, 1, 0}, {1, 0, 0}, O, {0, 0, -1}},     {{0, 1, 0}, {5, 0, 0}, O, {0, 0, -1}},
        {{1, 0, 0}, {0, 1, 0}, O, {0, 0, 1}},      {{0, 1, 0}, {-1, 0, 0}, O, {0, 0, 1}},
    };
    for (const Geval& g : gevallen) ExpectNear(DraaiVectorRondAs(g.v, 90, g.as, g.punt), g.uit);
}

// Random points, angles and axes: the distance to the axis point is kept, a
// point on the axis stays put and a full turn brings every point back.
TEST(Turns, PropertiesOverRandomInputs) {
    std::mt19937 gen(1234);
    std::uniform_real_distribution<float> c(-100, 100), hoek(-720, 720);
    auto V = [&] { return Vector{c(gen), c(gen), c(gen)}; };
    auto Afstand = [](Vector a, Vector b) { return Norm({a.x - b.x, a.y - b.y, a.z - b.z}); };
    for (int n = 0; n < 5000; ++n) {
        const Vector v = V(), as = V(), punt = V();
        const float a = hoek(gen);
        ASSERT_NEAR(Afstand(DraaiVectorRondAs(v, a, as, punt), punt), Afstand(v, punt), 1e-3f);
        ASSERT_NEAR(Afstand(DraaiVectorRondAs(punt, a, as, punt), punt), 0, 1e-4f);
        ASSERT_NEAR(Afstand(DraaiVectorRondAs(v, 360, as, punt), v), 0, 1e-3f);
    }
}
