// QX3D screen settings and perspective projection.
// The only state of the engine is the three screen settings below; they are
// zero until Init3D runs, so every point then projects onto column and row 0.
#include <cmath>
#include <limits>

#include "engine3d/QX3D.h"

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

}  // namespace QX3D
