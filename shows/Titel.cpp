// Building, moving, turning and drawing the three title glyphs.
#include "shows/Titel.h"

#include "platform/graph/Kleuren.h"
#include "shows/TitelBlokken.h"

namespace KYR12 {
namespace {

using QX3D::Polyhedron;
using QX3D::Vector;

constexpr std::size_t blokkenInC = 3;
constexpr std::size_t blokkenInS = 5;

// Corners 0, 3, 4 and 7 lie on the near face (z = +50), the others on the
// far face (z = -50); corner c takes the (x, y) pair c DIV 2.
constexpr REAL halveDiepte = 50;
bool OpVoorvlak(std::size_t hoek) { return hoek == 0 || hoek == 3 || hoek == 4 || hoek == 7; }

Polyhedron MaakBlok(const TitelData::BlokVorm& vorm, REAL dx, CARDINAL kleur) {
    Vector hoeken[8];
    for (std::size_t h = 0; h < 8; ++h) {
        const REAL z = OpVoorvlak(h) ? halveDiepte : -halveDiepte;
        hoeken[h] = QX3D::MaakVector(vorm.x[h / 2] + dx, vorm.y[h / 2], z);
    }
    CARDINAL kleuren[6];
    for (CARDINAL& k : kleuren) k = kleur;
    return QX3D::MaakPolyhedron(hoeken, kleuren);
}

// Fills slots 1 .. count from the table.
void MaakGlyph(Polyhedron* blokken, const TitelData::BlokVorm* vormen, std::size_t count, REAL dx,
               CARDINAL kleur) {
    for (std::size_t n = 1; n <= count; ++n) blokken[n] = MaakBlok(vormen[n - 1], dx, kleur);
}

void VerschuifGlyph(Polyhedron* blokken, std::size_t count, Vector v) {
    for (std::size_t n = 1; n <= count; ++n) QX3D::VerschuifPolyhedron(blokken[n], v);
}

void TekenGlyph(const Polyhedron* blokken, std::size_t count) {
    for (std::size_t n = 1; n <= count; ++n) QX3D::TekenPolyhedron(blokken[n]);
}

}  // namespace

void MaakCUit(Polyhedron* blokken) { MaakGlyph(blokken, TitelData::blokkenC, blokkenInC, 0, LIGHTGREEN); }

void MaakSUit(Polyhedron* blokkenS) { MaakGlyph(blokkenS, TitelData::blokkenS, blokkenInS, 0, LIGHTRED); }

void MaakSSUit(Polyhedron* blokkenSS) {
    MaakGlyph(blokkenSS, TitelData::blokkenS, blokkenInS, TitelData::verschilSS, LIGHTYELLOW);
}

void verschuifCUit(Polyhedron* blokken, Vector v) { VerschuifGlyph(blokken, blokkenInC, v); }
void verschuifSUit(Polyhedron* blokkenS, Vector v) { VerschuifGlyph(blokkenS, blokkenInS, v); }
void verschuifSSUit(Polyhedron* blokkenSS, Vector v) { VerschuifGlyph(blokkenSS, blokkenInS, v); }

// The first glyph turns first; then the second and third glyph block by block,
// slot n of the second before slot n of the third.
void DraaiKYRRondAsUit(Polyhedron* blokkenC, Polyhedron* blokkenS, Polyhedron* blokkenSS, REAL alpha,
                       Vector richting, Vector punt) {
    for (std::size_t n = 1; n <= blokkenInC; ++n) QX3D::DraaiPolyhedronRondAs(blokkenC[n], alpha, richting, punt);
    for (std::size_t n = 1; n <= blokkenInS; ++n) {
        QX3D::DraaiPolyhedronRondAs(blokkenS[n], alpha, richting, punt);
        QX3D::DraaiPolyhedronRondAs(blokkenSS[n], alpha, richting, punt);
    }
}

void TekenCUit(const Polyhedron* blokken) { TekenGlyph(blokken, blokkenInC); }
void TekenSUit(const Polyhedron* blokkenS) { TekenGlyph(blokkenS, blokkenInS); }
void TekenSSUit(const Polyhedron* blokkenSS) { TekenGlyph(blokkenSS, blokkenInS); }

}  // namespace KYR12
