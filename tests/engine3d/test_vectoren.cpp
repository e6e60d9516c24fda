// Construction, translation and turns of the engine's records.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "engine3d/QX3D.h"

using namespace QX3D;

namespace {

constexpr float Tol = 1e-5f;

void ExpectNear(Vector a, Vector b, float tol = Tol) {
    EXPECT_NEAR(a.x, b.x, tol);
    EXPECT_NEAR(a.y, b.y, tol);
    EXPECT_NEAR(a.z, b.z, tol);
}

void ExpectExact(Vector a, Vector b) {
    EXPECT_EQ(a.x, b.x);
    EXPECT_EQ(a.y, b.y);
    EXPECT_EQ(a.z, b.z);
}

const Vector O = {0, 0, 0};

}  // namespace

TEST(Balk, CornersFollowTheCornerConventionAndAllSlotsTakeTheColour) {
    const Polyhedron p = MaakBalk(O, 2, 4, 6, 11);
    const Vector verwacht[8] = {{-1, -2, 3}, {-1, -2, -3}, {1, -2, -3}, {1, -2, 3},
                                {-1, 2, 3},  {-1, 2, -3},  {1, 2, -3},  {1, 2, 3}};
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        ExpectExact(p.hoek[i], verwacht[i]);
    }
    for (CARDINAL k : p.kleur) EXPECT_EQ(k, 11u);
}

TEST(Balk, OffCentreAndNegativeSizesMirrorTheBox) {
    const Polyhedron p = MaakBalk({10, 20, 30}, -2, 4, 6, 1);
    ExpectExact(p.hoek[0], {11, 18, 33});
    ExpectExact(p.hoek[6], {9, 22, 27});
}

TEST(Polyhedron, TakesOnlyTheFirstEightCornersAndSixColours) {
    Vector hoeken[10];
    for (int i = 0; i < 10; ++i) hoeken[i] = {float(i), float(i * 2), float(i * 3)};
    const CARDINAL kleuren[7] = {1, 2, 3, 4, 5, 6, 7};
    const Polyhedron p = MaakPolyhedron(hoeken, kleuren);
    for (int i = 0; i < 8; ++i) ExpectExact(p.hoek[i], hoeken[i]);
    for (int j = 0; j < 6; ++j) EXPECT_EQ(p.kleur[j], kleuren[j]);
}

TEST(Polygoon, KeepsCornersInOrderAndTheColour) {
    const Polygoon q = MaakPolygoon({1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}, 9);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(q.hoek[i].x, float(i + 1));
    EXPECT_EQ(q.kleur, 9u);
}

TEST(Verschuif, MovesEveryCornerAndLeavesColoursAlone) {
    Vector v = {1, 2, 3};
    VerschuifVector(v, {0.5f, -2, 10});
    ExpectExact(v, {1.5f, 0, 13});

    const CARDINAL kleuren[6] = {1, 2, 3, 4, 5, 6};
    Vector hoeken[8] = {};
    Polyhedron p = MaakPolyhedron(hoeken, kleuren);
    VerschuifPolyhedron(p, {1, 2, 3});
    for (const Vector& h : p.hoek) ExpectExact(h, {1, 2, 3});
    DraaiPolyhedronRondAs(p, 37, {1, 1, 0}, {0, 5, 0});
    for (int j = 0; j < 6; ++j) EXPECT_EQ(p.kleur[j], kleuren[j]);
}

TEST(Norm, IsTheEuclideanLength) {
    EXPECT_EQ(Norm({3, 4, 0}), 5.0f);
    EXPECT_EQ(Norm({0, 0, -2}), 2.0f);
    EXPECT_EQ(Norm(O), 0.0f);
}

// The sense of a turn depends on the axis: about the z axis (either sign, or
// no direction at all) +x turns towards +y; about any other direction the
// turn is against the right-hand rule.
TEST(Draai, QuarterTurnsAboutTheZAxisIgnoreItsSign) {
    ExpectNear(DraaiVectorRondAs({1, 0, 0}, 90, {0, 0, 1}, O), {0, 1, 0});
    ExpectNear(DraaiVectorRondAs({1, 0, 0}, 90, {0, 0, -1}, O), {0, 1, 0});
    ExpectNear(DraaiVectorRondAs({1, 0, 0}, 90, {0, 0, 0}, O), {0, 1, 0});
    ExpectNear(DraaiVectorRondAs({1, 0, 0}, 90, {-0.0f, -0.0f, 3}, O), {0, 1, 0});
}

TEST(Draai, QuarterTurnsAboutOtherAxesAreLeftHanded) {
    ExpectNear(DraaiVectorRondAs({0, 1, 0}, 90, {1, 0, 0}, O), {0, 0, -1});
    ExpectNear(DraaiVectorRondAs({0, 1, 0}, 90, {5, 0, 0}, O), {0, 0, -1});
    ExpectNear(DraaiVectorRondAs({1, 0, 0}, 90, {0, 1, 0}, O), {0, 0, 1});
    ExpectNear(DraaiVectorRondAs({0, 1, 0}, 90, {-1, 0, 0}, O), {0, 0, 1});
}

TEST(Draai, ZeroDirectionTurnsAboutTheZAxisThroughThePoint) {
    const Vector punt = {10, -4, 7};
    const Vector v = {13, -4, 2};
    ExpectNear(DraaiVectorRondAs(v, 90, O, punt), {10, -1, 2});
    ExpectNear(DraaiVectorRondAs(v, 90, O, punt), DraaiVectorRondAs(v, 90, {0, 0, 1}, punt));
}

TEST(Draai, TurnByZeroAboutTheLineOfSightIsExact) {
    const Vector v = {-123.456f, 78.9f, 150.25f};
    ExpectExact(DraaiVectorRondAs(v, 0, {0, 0, 1}, O), v);
}

// Random points, angles and axes: a turn keeps the distance to the axis
// point, a point on the axis stays put, and a full turn comes back.
TEST(Draai, PropertiesOverRandomInputs) {
    std::mt19937 gen(1234);
    std::uniform_real_distribution<float> coord(-100, 100), hoek(-720, 720);
    for (int n = 0; n < 5000; ++n) {
        const Vector v = {coord(gen), coord(gen), coord(gen)};
        const Vector as = {coord(gen), coord(gen), coord(gen)};
        const Vector punt = {coord(gen), coord(gen), coord(gen)};
        const float a = hoek(gen);
        const Vector r = DraaiVectorRondAs(v, a, as, punt);
        const Vector d0 = {v.x - punt.x, v.y - punt.y, v.z - punt.z};
        const Vector d1 = {r.x - punt.x, r.y - punt.y, r.z - punt.z};
        ASSERT_NEAR(Norm(d1), Norm(d0), 1e-3f * (1 + Norm(d0)));
        const Vector opAs = DraaiVectorRondAs(punt, a, as, punt);
        ASSERT_NEAR(opAs.x, punt.x, 1e-4f);
        ASSERT_NEAR(opAs.y, punt.y, 1e-4f);
        ASSERT_NEAR(opAs.z, punt.z, 1e-4f);
        const Vector rond = DraaiVectorRondAs(v, 360, as, punt);
        ASSERT_NEAR(Norm({rond.x - v.x, rond.y - v.y, rond.z - v.z}), 0, 1e-3f);
    }
}

// A positive turn about a general direction equals the right-hand-rule turn
// by the negative angle about the normalised direction.
TEST(Draai, GeneralAxisMatchesRodriguesWithTheNegativeAngle) {
    std::mt19937 gen(99);
    std::uniform_real_distribution<double> coord(-10, 10), hoek(-180, 180);
    for (int n = 0; n < 2000; ++n) {
        const double kx = coord(gen), ky = coord(gen), kz = coord(gen);
        const double vx = coord(gen), vy = coord(gen), vz = coord(gen);
        const double a = hoek(gen);
        const double l = std::sqrt(kx * kx + ky * ky + kz * kz);
        const double ux = kx / l, uy = ky / l, uz = kz / l;
        const double t = -a * M_PI / 180, c = std::cos(t), s = std::sin(t);
        const double dot = ux * vx + uy * vy + uz * vz;
        const double cx = uy * vz - uz * vy, cy = uz * vx - ux * vz, cz = ux * vy - uy * vx;
        const Vector verwacht = {float(vx * c + cx * s + ux * dot * (1 - c)),
                                 float(vy * c + cy * s + uy * dot * (1 - c)),
                                 float(vz * c + cz * s + uz * dot * (1 - c))};
        const Vector r = DraaiVectorRondAs({float(vx), float(vy), float(vz)}, float(a),
                                           {float(kx), float(ky), float(kz)}, O);
        ASSERT_NEAR(r.x, verwacht.x, 1e-3);
        ASSERT_NEAR(r.y, verwacht.y, 1e-3);
        ASSERT_NEAR(r.z, verwacht.z, 1e-3);
    }
}
