// QX3D: the small 3D engine. Value records for points, quadrilaterals and
// eight-cornered solids; translation and turns about any axis; perspective
// projection onto the window and wireframe drawing with left/top clipping.
//
// World axes: the eye sits at the origin looking along +z; x grows to the
// right and y grows downward, the same way as screen rows. Angles in degrees.
#pragma once
#include <cstddef>
#include "platform/Types.h"

namespace QX3D {

struct Vector {
    REAL x, y, z;
};

struct Polygoon {
    Vector hoek[4];    // outline 0-1-2-3-0
    CARDINAL kleur;
};

// Corners 0-3 one face, 4-7 the opposite face in the same cyclic order,
// corner i joined to corner i+4. Colour slots: 0 face 0-3, 5 face 4-7,
// 1 edges 0-4 and 1-5, 3 edges 3-7 and 2-6; slots 2 and 4 are never drawn.
struct Polyhedron {
    Vector hoek[8];
    CARDINAL kleur[6];
};

Vector MaakVector(REAL x_coordinaat, REAL y_coordinaat, REAL z_coordinaat);
Polygoon MaakPolygoon(Vector hoek1, Vector hoek2, Vector hoek3, Vector hoek4, CARDINAL deKleur);

// Takes the first eight corners and the first six colours; shorter arrays do not compile.
Polyhedron MaakPolyhedronUit(const Vector* hoeken, const CARDINAL* kleuren);
template <std::size_t N, std::size_t M>
    requires(N >= 8 && M >= 6)
inline Polyhedron MaakPolyhedron(const Vector (&hoeken)[N], const CARDINAL (&kleuren)[M]) {
    return MaakPolyhedronUit(hoeken, kleuren);
}

Polyhedron MaakBalk(Vector middelpunt, REAL breedte, REAL hoogte, REAL diepte, CARDINAL color);
void VerschuifVector(Vector& deVector, Vector verschuivingsVector);
void VerschuifPolyhedron(Polyhedron& dePolyhedron, Vector verschuivingsVector);
Vector DraaiVectorRondAs(Vector v, REAL alpha, Vector richting, Vector punt);
void DraaiPolyhedronRondAs(Polyhedron& dePolyhedron, REAL alpha, Vector richting, Vector punt);
REAL Norm(Vector v);

// Screen settings and projection.
void Init3D(CARDINAL Breedte, CARDINAL Hoogte, REAL Zichthoek);
// Column and row of a point. Where the value is undefined (z = 0, a
// non-finite coordinate, or a result outside the INTEGER range) it reads 0;
// each of the two is judged on its own. ProjectieGedefinieerd is TRUE only
// when both are defined: ask it first where that matters.
INTEGER ProjectieX(Vector hoek);
INTEGER ProjectieY(Vector hoek);
BOOLEAN ProjectieGedefinieerd(Vector hoek);
// Column and row of a point in one go; FALSE (and both 0) when the point has
// no defined projection.
BOOLEAN ProjectiePunt(Vector hoek, INTEGER& kolom, INTEGER& rij);

// Drawing: each segment is clipped to column >= 0 and row >= 0 and drawn with
// Graph.Line; a segment with an end whose projection is undefined is skipped.
void Lijn(INTEGER x1, INTEGER y1, INTEGER x2, INTEGER y2, CARDINAL kleur);
void Teken3DLijn(Vector a, Vector b, CARDINAL kleur);
void TekenPolygoon(const Polygoon& dePolygon);
void TekenPolyhedron(const Polyhedron& dePolyhedron);

// Clipping of a 2D segment against column = 0 and row = 0, in place.
void TestLijn(INTEGER& X1, INTEGER& Y1, INTEGER& X2, INTEGER& Y2);

}  // namespace QX3D
