// The player: one key per frame (steering, fire, quit), the player's bullets
// and the crosshair. The viewer never moves; steering shifts the world.
#include "game/Game.h"
#include "game/GameState.h"
#include "shell/StandardLib.h"

namespace KYR12 {

namespace {

constexpr REAL KogelAStart = 1.0f;          // depth at which a bullet leaves
constexpr REAL KogelABereik = 800.0f;       // beyond this depth a bullet expires
constexpr REAL KogelARand = 0.015f;         // half width of a bullet's base
constexpr REAL KogelALengte = 5.0f;         // from base to point, away from the viewer
constexpr CARDINAL KogelAKleur = LIGHTYELLOW;
constexpr CARDINAL MikpuntKleur = WHITE;

// Steering step of an arrow key: up moves the objects up on the screen,
// right moves them left, down moves them down, left moves them right.
QX3D::Vector StuurStap(CARDINAL toets) {
    switch (toets) {
        case StandardLib::ArrowUp: return vx2;
        case StandardLib::ArrowRight: return vy2;
        case StandardLib::ArrowDown: return vx1;
        default: return vy1;
    }
}

// Shifts every object of the level, alive or not, and bends every enemy's
// course by the same step, so each press leaves a lasting drift.
void VerschuifWereld(QX3D::Vector stap) {
    for (CARDINAL i = 1; i <= CNTVijand; ++i) {
        QX3D::VerschuifVector(VijandAr[i].vectV, stap);
        QX3D::VerschuifVector(VijandAr[i].RichVect, stap);
    }
    for (CARDINAL i = 1; i <= CNTKogV; ++i) {
        QX3D::VerschuifVector(KogelVAr[i].vectB, stap);
    }
    for (CARDINAL i = 1; i <= CNTKogA; ++i) {
        QX3D::VerschuifVector(KogelAAr[i].vectB, stap);
    }
}

}  // namespace

void AanvallerDo() {
    const CARDINAL a = StandardLib::RdArrowKey();
    if (a == StandardLib::ArrowOther) {
        Quit = true;
    }
    if (a <= StandardLib::ArrowLeft) {  // the four arrows
        VerschuifWereld(StuurStap(a));
    }
    if (a == StandardLib::ArrowSpace) {
        MakeKogelA();
    }
}

void MakeKogelA() {
    if (CNTKogA >= MaxKogel) {
        return;   // no free slot: the shot is not made (the rules never get here)
    }
    CNTKogA += 1;
    BulletRc& kogel = KogelAAr[CNTKogA];
    kogel.vectB = QX3D::MaakVector(0.0f, 0.0f, KogelAStart);
    kogel.RichVect = QX3D::MaakVector(0.0f, 0.0f, 10.0f + 10.0f * Snelheid);
    kogel.life = true;
}

void KogelADo(CARDINAL x) {
    if (x == 0 || x > MaxKogel) {
        return;
    }
    QX3D::VerschuifVector(KogelAAr[x].vectB, KogelAAr[x].RichVect);
}

void KogelALoop() {
    for (CARDINAL j = 1; j <= CNTKogA; ++j) {
        if (KogelAAr[j].vectB.z <= KogelABereik) {
            KogelADo(j);
        } else {
            KogelAAr[j].life = false;
        }
    }
}

// A thin spike: a square base at the bullet's position, its point 5 units deeper.
void KogelATek(QX3D::Vector v) {
    const REAL e = KogelARand;
    const QX3D::Vector punt = QX3D::MaakVector(v.x, v.y, v.z + KogelALengte);
    const QX3D::Vector hoeken[8] = {
        punt,
        QX3D::MaakVector(v.x - e, v.y - e, v.z),
        QX3D::MaakVector(v.x + e, v.y - e, v.z),
        punt,
        punt,
        QX3D::MaakVector(v.x - e, v.y + e, v.z),
        QX3D::MaakVector(v.x + e, v.y + e, v.z),
        punt,
    };
    const CARDINAL kleuren[6] = {KogelAKleur, KogelAKleur, KogelAKleur,
                                 KogelAKleur, KogelAKleur, KogelAKleur};
    QX3D::TekenPolyhedron(QX3D::MaakPolyhedron(hoeken, kleuren));
}

// The square from (469, 322) to (556, 409) with both diagonals, as two outlines.
void AanvalTek() {
    const QX3D::Vector mikpunt[4] = {
        QX3D::MaakVector(0.05f, -0.05f, 1.0f),
        QX3D::MaakVector(-0.05f, 0.05f, 1.0f),
        QX3D::MaakVector(-0.05f, -0.05f, 1.0f),
        QX3D::MaakVector(0.05f, 0.05f, 1.0f),
    };
    const QX3D::Polygoon eerste =
        QX3D::MaakPolygoon(mikpunt[0], mikpunt[1], mikpunt[3], mikpunt[2], MikpuntKleur);
    const QX3D::Polygoon tweede =
        QX3D::MaakPolygoon(mikpunt[0], mikpunt[1], mikpunt[2], mikpunt[3], MikpuntKleur);
    QX3D::TekenPolygoon(eerste);
    QX3D::TekenPolygoon(tweede);
}

}  // namespace KYR12
