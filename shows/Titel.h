// The three title glyphs of the intro, each an open array of solids of which
// only fixed slots are used: the first glyph slots 1 to 3, the second and
// third slots 1 to 5. Slot 0 (and slot 6) is never built, moved, turned or
// drawn. The templates refuse arrays with too few slots at compile time.
#pragma once
#include <cstddef>
#include "engine3d/QX3D.h"
#include "platform/Types.h"

namespace KYR12 {

inline constexpr std::size_t SlotsC = 4;    // slots 0 to 3
inline constexpr std::size_t SlotsS = 6;    // slots 0 to 5

void MaakCUit(QX3D::Polyhedron* blokken);
void MaakSUit(QX3D::Polyhedron* blokkenS);
void MaakSSUit(QX3D::Polyhedron* blokkenSS);
void verschuifCUit(QX3D::Polyhedron* blokken, QX3D::Vector verschuivingsVector);
void verschuifSUit(QX3D::Polyhedron* blokkenS, QX3D::Vector verschuivingsVector);
void verschuifSSUit(QX3D::Polyhedron* blokkenSS, QX3D::Vector verschuivingsVector);
void DraaiKYRRondAsUit(QX3D::Polyhedron* blokkenC, QX3D::Polyhedron* blokkenS, QX3D::Polyhedron* blokkenSS,
                       REAL alpha, QX3D::Vector richting, QX3D::Vector punt);
void TekenCUit(const QX3D::Polyhedron* blokken);
void TekenSUit(const QX3D::Polyhedron* blokkenS);
void TekenSSUit(const QX3D::Polyhedron* blokkenSS);

template <std::size_t N>
    requires(N >= SlotsC)
inline void MaakC(QX3D::Polyhedron (&blokken)[N]) { MaakCUit(blokken); }
template <std::size_t N>
    requires(N >= SlotsS)
inline void MaakS(QX3D::Polyhedron (&blokkenS)[N]) { MaakSUit(blokkenS); }
template <std::size_t N>
    requires(N >= SlotsS)
inline void MaakSS(QX3D::Polyhedron (&blokkenSS)[N]) { MaakSSUit(blokkenSS); }

template <std::size_t N>
    requires(N >= SlotsC)
inline void verschuifC(QX3D::Polyhedron (&blokken)[N], QX3D::Vector v) { verschuifCUit(blokken, v); }
template <std::size_t N>
    requires(N >= SlotsS)
inline void verschuifS(QX3D::Polyhedron (&blokkenS)[N], QX3D::Vector v) { verschuifSUit(blokkenS, v); }
template <std::size_t N>
    requires(N >= SlotsS)
inline void verschuifSS(QX3D::Polyhedron (&blokkenSS)[N], QX3D::Vector v) { verschuifSSUit(blokkenSS, v); }

template <std::size_t NC, std::size_t NS, std::size_t NSS>
    requires(NC >= SlotsC && NS >= SlotsS && NSS >= SlotsS)
inline void DraaiKYRRondAs(QX3D::Polyhedron (&blokkenC)[NC], QX3D::Polyhedron (&blokkenS)[NS],
                           QX3D::Polyhedron (&blokkenSS)[NSS], REAL alpha, QX3D::Vector richting,
                           QX3D::Vector punt) {
    DraaiKYRRondAsUit(blokkenC, blokkenS, blokkenSS, alpha, richting, punt);
}

template <std::size_t N>
    requires(N >= SlotsC)
inline void TekenC(const QX3D::Polyhedron (&blokken)[N]) { TekenCUit(blokken); }
template <std::size_t N>
    requires(N >= SlotsS)
inline void TekenS(const QX3D::Polyhedron (&blokkenS)[N]) { TekenSUit(blokkenS); }
template <std::size_t N>
    requires(N >= SlotsS)
inline void TekenSS(const QX3D::Polyhedron (&blokkenSS)[N]) { TekenSSUit(blokkenSS); }

}  // namespace KYR12
