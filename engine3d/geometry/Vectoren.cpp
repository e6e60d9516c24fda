// QX3D geometry: construction, translation and turns of points and solids.
// Pure functions of their arguments; nothing here draws or keeps state.
//
// Rounding: each expression is evaluated in double precision and every value
// stored into a variable or record field is rounded to REAL (32 bits), the
// same way the rest of the engine stores its numbers.
#include <cmath>

#include "engine3d/QX3D.h"

namespace QX3D {

namespace {

// The REAL constant for pi used by every angle conversion of the engine.
constexpr REAL Pi = 3.1415927f;

constexpr REAL R(LONGREAL v) { return static_cast<REAL>(v); }

// Dot product of two vectors, summed in the order x, y, z.
REAL Inproduct(Vector p, Vector e) {
    return R(LONGREAL(p.x) * e.x + LONGREAL(p.y) * e.y + LONGREAL(p.z) * e.z);
}

// The vector divided by its length; a vector of length 0 comes back as it is.
Vector NormeerVector(Vector v) {
    const REAL n = Norm(v);
    if (n == 0.0f) {
        return v;
    }
    return {R(LONGREAL(v.x) / n), R(LONGREAL(v.y) / n), R(LONGREAL(v.z) / n)};
}

struct Assenstelsel {
    Vector e1, e2, e3;
};

// The frame the turn works in. For a direction off the z axis, e3 lies along
// it, e2 is horizontal and e1 = e3 x e2, so the frame is left-handed and a
// positive angle turns against the right-hand rule about the direction. A
// direction on the z axis (or none at all) uses the plain x, y, z frame
// whatever its sign; that difference in sense is kept on purpose because the
// turning star field, title letters and demo scenes rely on it.
Assenstelsel MaakAssenstelsel(Vector richting) {
    if (richting.x == 0.0f && richting.y == 0.0f) {
        return {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    }
    const REAL n = Norm(richting);
    Assenstelsel f;
    f.e3 = NormeerVector(richting);
    f.e2 = NormeerVector({R(-LONGREAL(richting.y) / n), R(LONGREAL(richting.x) / n), 0.0f});
    f.e1 = NormeerVector({R(-LONGREAL(f.e2.y) * f.e3.z), R(LONGREAL(f.e3.z) * f.e2.x),
                          R(LONGREAL(f.e2.y) * f.e3.x - LONGREAL(f.e3.y) * f.e2.x)});
    return f;
}

// a * e1 + b * e2 + c * e3, one component.
REAL Combinatie(REAL a, REAL e1, REAL b, REAL e2, REAL c, REAL e3) {
    return R(LONGREAL(a) * e1 + LONGREAL(b) * e2 + LONGREAL(c) * e3);
}

}  // namespace

Vector MaakVector(REAL x_coordinaat, REAL y_coordinaat, REAL z_coordinaat) {
    return {x_coordinaat, y_coordinaat, z_coordinaat};
}

Polygoon MaakPolygoon(Vector hoek1, Vector hoek2, Vector hoek3, Vector hoek4, CARDINAL deKleur) {
    return {{hoek1, hoek2, hoek3, hoek4}, deKleur};
}

Polyhedron MaakPolyhedronUit(const Vector* hoeken, const CARDINAL* kleuren) {
    Polyhedron p;
    for (int i = 0; i < 8; ++i) {
        p.hoek[i] = hoeken[i];
    }
    for (int j = 0; j < 6; ++j) {
        p.kleur[j] = kleuren[j];
    }
    return p;
}

// Axis-aligned box: corners 0-3 the face at the smaller y, 4-7 the face at
// the larger y, in the same cyclic order (see the corner convention).
Polyhedron MaakBalk(Vector middelpunt, REAL breedte, REAL hoogte, REAL diepte, CARDINAL color) {
    // Each coordinate is one expression: centre plus or minus (size / 2).
    const Vector c = middelpunt;
    const REAL xl = R(c.x - LONGREAL(breedte) / 2), xr = R(c.x + LONGREAL(breedte) / 2);
    const REAL yb = R(c.y - LONGREAL(hoogte) / 2), yo = R(c.y + LONGREAL(hoogte) / 2);
    const REAL zv = R(c.z - LONGREAL(diepte) / 2), za = R(c.z + LONGREAL(diepte) / 2);
    Polyhedron p;
    p.hoek[0] = {xl, yb, za};
    p.hoek[1] = {xl, yb, zv};
    p.hoek[2] = {xr, yb, zv};
    p.hoek[3] = {xr, yb, za};
    p.hoek[4] = {xl, yo, za};
    p.hoek[5] = {xl, yo, zv};
    p.hoek[6] = {xr, yo, zv};
    p.hoek[7] = {xr, yo, za};
    for (CARDINAL& k : p.kleur) {
        k = color;
    }
    return p;
}

void VerschuifVector(Vector& deVector, Vector verschuivingsVector) {
    deVector.x = R(LONGREAL(deVector.x) + verschuivingsVector.x);
    deVector.y = R(LONGREAL(deVector.y) + verschuivingsVector.y);
    deVector.z = R(LONGREAL(deVector.z) + verschuivingsVector.z);
}

void VerschuifPolyhedron(Polyhedron& dePolyhedron, Vector verschuivingsVector) {
    for (Vector& h : dePolyhedron.hoek) {
        VerschuifVector(h, verschuivingsVector);
    }
}

REAL Norm(Vector v) {
    return R(std::sqrt(LONGREAL(v.x) * v.x + LONGREAL(v.y) * v.y + LONGREAL(v.z) * v.z));
}

// Turn of v by alpha degrees about the line through punt with direction
// richting (any length), in the frame of MaakAssenstelsel.
Vector DraaiVectorRondAs(Vector v, REAL alpha, Vector richting, Vector punt) {
    const REAL theta = R(LONGREAL(alpha) * Pi / 180);
    const Vector p = {R(LONGREAL(v.x) - punt.x), R(LONGREAL(v.y) - punt.y), R(LONGREAL(v.z) - punt.z)};
    const Assenstelsel f = MaakAssenstelsel(richting);
    const REAL a = Inproduct(p, f.e1);
    const REAL b = Inproduct(p, f.e2);
    const REAL c = Inproduct(p, f.e3);
    const LONGREAL cosT = std::cos(LONGREAL(theta)), sinT = std::sin(LONGREAL(theta));
    const REAL a2 = R(a * cosT - b * sinT);
    const REAL b2 = R(a * sinT + b * cosT);
    Vector r = {Combinatie(a2, f.e1.x, b2, f.e2.x, c, f.e3.x), Combinatie(a2, f.e1.y, b2, f.e2.y, c, f.e3.y),
                Combinatie(a2, f.e1.z, b2, f.e2.z, c, f.e3.z)};
    VerschuifVector(r, punt);
    return r;
}

void DraaiPolyhedronRondAs(Polyhedron& dePolyhedron, REAL alpha, Vector richting, Vector punt) {
    for (Vector& h : dePolyhedron.hoek) {
        h = DraaiVectorRondAs(h, alpha, richting, punt);
    }
}

}  // namespace QX3D
