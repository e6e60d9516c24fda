// QX3D screen settings, perspective projection and wireframe drawing.
// The only state of the engine is the three screen settings below; they are
// zero until Init3D runs, so every point then projects onto column and row 0.
#include <cmath>
#include <limits>

#include "engine3d/QX3D.h"
#include "platform/graph/Graph.h"

namespace QX3D {

namespace {

constexpr REAL Pi = 3.1415927f;

struct Scherm {
    CARDINAL SchermBreedte = 0;  // pixels
    CARDINAL SchermHoogte = 0;   // pixels
    REAL SchermAfstand = 0.0f;   // eye to projection plane, pixels
};
Scherm scherm;

// A projected coordinate, or none when the point has no defined projection.
struct Pixel {
    INTEGER waarde;
    bool gedefinieerd;
};

// midden + TRUNC(afstand * coordinaat / diepte + 0.5), in double precision,
// truncating toward zero. Defined only when diepte is not 0, every input is
// finite and the result fits in INTEGER; converting anything else to an
// integer would be undefined, so it is reported instead.
Pixel Projecteer(CARDINAL midden, REAL coordinaat, REAL diepte) {
    if (diepte == 0.0f || !std::isfinite(coordinaat) || !std::isfinite(diepte)) {
        return {0, false};
    }
    const LONGREAL verschuiving = std::trunc(LONGREAL(scherm.SchermAfstand) * coordinaat / diepte + 0.5);
    const LONGREAL som = LONGREAL(midden) + verschuiving;
    if (!(som >= std::numeric_limits<INTEGER>::min() && som <= std::numeric_limits<INTEGER>::max())) {
        return {0, false};
    }
    return {static_cast<INTEGER>(som), true};
}

Pixel PixelX(Vector hoek) { return Projecteer(scherm.SchermBreedte / 2, hoek.x, hoek.z); }
Pixel PixelY(Vector hoek) { return Projecteer(scherm.SchermHoogte / 2, hoek.y, hoek.z); }

// A projected corner: column and row, and whether both are defined.
struct Punt2D {
    INTEGER x, y;
    bool gedefinieerd;
};

Punt2D Projecteer(Vector hoek) {
    const Pixel x = PixelX(hoek), y = PixelY(hoek);
    return {x.waarde, y.waarde, x.gedefinieerd && y.gedefinieerd};
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

// The distance to the projection plane follows from the full horizontal
// viewing angle and the integer half of the width (1025 gives 512).
void Init3D(CARDINAL Breedte, CARDINAL Hoogte, REAL Zichthoek) {
    scherm.SchermBreedte = Breedte;
    scherm.SchermHoogte = Hoogte;
    const LONGREAL halveHoek = LONGREAL(Zichthoek) * Pi / 360;
    scherm.SchermAfstand = static_cast<REAL>(LONGREAL(Breedte / 2) / std::tan(halveHoek));
}

INTEGER ProjectieX(Vector hoek) { return PixelX(hoek).waarde; }
INTEGER ProjectieY(Vector hoek) { return PixelY(hoek).waarde; }
BOOLEAN ProjectieGedefinieerd(Vector hoek) { return Projecteer(hoek).gedefinieerd; }

BOOLEAN ProjectiePunt(Vector hoek, INTEGER& kolom, INTEGER& rij) {
    const Punt2D p = Projecteer(hoek);
    kolom = p.gedefinieerd ? p.x : 0;
    rij = p.gedefinieerd ? p.y : 0;
    return p.gedefinieerd;
}

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
