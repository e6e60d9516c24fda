// Pieces of the 3D engine demonstration that tests reach directly.
#pragma once
#include <cstddef>
#include "engine3d/QX3D.h"
#include "platform/Types.h"

namespace KYR12 {

inline constexpr std::size_t golfBlokken = 7;

// Seven blocks side by side from x = -350 to 350, upper faces (corners 0 to 3)
// at y = 130, lower faces at y = 170, at depth 700.
void PrepareTheWave(QX3D::Polyhedron (&golf)[golfBlokken]);

// One frame of the wave for frame number i: raises or lowers the upper
// corners of every block from where the previous frame left them.
void BeweegGolf(QX3D::Polyhedron (&golf)[golfBlokken], CARDINAL i);

// Sets all six face colours of a solid.
void ZetKleuren(QX3D::Polyhedron& blok, CARDINAL kleur);

}  // namespace KYR12
