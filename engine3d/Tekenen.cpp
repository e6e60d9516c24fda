// QX3D wireframe drawing: projected edges end in Graph.Line.
#include "engine3d/QX3D.h"
#include "platform/graph/Graph.h"

namespace QX3D {

namespace {

// A projected corner: column and row, and whether both are defined.
struct Punt2D {
    INTEGER x, y;
    bool gedefinieerd;
};

Punt2D Projecteer(Vector hoek) {
    Punt2D p{};
    p.gedefinieerd = ProjectiePunt(hoek, p.x, p.y);
    return p;
}

// One edge between two projected corners; an edge with an undefined end is skipped.
void Rand(const Punt2D& a, const Punt2D& b, CARDINAL kleur) {
    if (a.gedefinieerd && b.gedefinieerd) {
        Lijn(a.x, a.y, b.x, b.y, kleur);
    }
}

// The twelve edges of a solid in drawing order, with their colour slot.
struct Ribbe {
    int van, naar, slot;
};
constexpr Ribbe Ribben[12] = {
    {0, 1, 0}, {0, 3, 0}, {1, 2, 0}, {2, 3, 0},  // face 0-1-2-3
    {4, 5, 5}, {4, 7, 5}, {5, 6, 5}, {6, 7, 5},  // face 4-5-6-7
    {0, 4, 1}, {1, 5, 1},                        // connecting edges, slot 1
    {3, 7, 3}, {2, 6, 3},                        // connecting edges, slot 3
};

}  // namespace

// A collapsed segment (all four values 0) reaches Graph.Line as the point
// (0, 0) to (0, 0), which paints nothing.
void Lijn(INTEGER x1, INTEGER y1, INTEGER x2, INTEGER y2, CARDINAL kleur) {
    TestLijn(x1, y1, x2, y2);
    Graph::Line(static_cast<CARDINAL>(x1), static_cast<CARDINAL>(y1), static_cast<CARDINAL>(x2),
                static_cast<CARDINAL>(y2), kleur);
}

void Teken3DLijn(Vector a, Vector b, CARDINAL kleur) {
    Rand(Projecteer(a), Projecteer(b), kleur);
}

void TekenPolygoon(const Polygoon& dePolygon) {
    Punt2D p[4];
    for (int i = 0; i < 4; ++i) {
        p[i] = Projecteer(dePolygon.hoek[i]);
    }
    for (int i = 0; i < 4; ++i) {
        Rand(p[i], p[(i + 1) % 4], dePolygon.kleur);
    }
}

void TekenPolyhedron(const Polyhedron& dePolyhedron) {
    Punt2D p[8];
    for (int i = 0; i < 8; ++i) {
        p[i] = Projecteer(dePolyhedron.hoek[i]);
    }
    for (const Ribbe& r : Ribben) {
        Rand(p[r.van], p[r.naar], dePolyhedron.kleur[r.slot]);
    }
}

}  // namespace QX3D
