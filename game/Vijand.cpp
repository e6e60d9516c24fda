// Enemies: their spawning at the level's period, straight-line motion, fire
// aimed at the viewer every 200 frames, the motion and expiry of their
// bullets, and the drawing of both.
#include "game/Game.h"
#include "game/GameState.h"
#include "game/SpelIntern.h"
#include "shell/StandardLib.h"

namespace KYR12 {

namespace {

constexpr REAL VijandStartDiepte = 1200.0f;
constexpr CARDINAL VuurInterval = 200;        // frames between two shots of one enemy
constexpr REAL KogelVEinde = 10.0f;           // enemy bullets nearer than this expire
constexpr REAL KogelVSnelheid = 10.0f;        // units per frame
constexpr REAL KogelVRand = 0.015f;
constexpr CARDINAL KogelVKleur = CYAN;

// +1.0 for an odd draw, -1.0 for an even one.
REAL Teken(CARDINAL getal) {
    return (getal % 2 == 1) ? 1.0f : -1.0f;
}

QX3D::Vector Verschoven(QX3D::Vector v, REAL dx, REAL dy, REAL dz) {
    return QX3D::MaakVector(v.x + dx, v.y + dy, v.z + dz);
}

// The aim from the enemy at v to a point near the line of sight at depth
// 1 - 10 * Snelheid; the offset shrinks as the level rises.
QX3D::Vector Richting(QX3D::Vector v, CARDINAL x, REAL q, CARDINAL y, REAL r) {
    const REAL spreiding = 3.0f * static_cast<REAL>(level);
    QX3D::Vector help;
    help.x = static_cast<REAL>(x) * q / 800.0f / spreiding - v.x;
    help.y = static_cast<REAL>(y) * r / 640.0f / spreiding - v.y;
    help.z = (1.0f - v.z) - 10.0f * Snelheid;
    return help;
}

}  // namespace

CARDINAL SpawnPeriode(CARDINAL deLevel) {
    const CARDINAL groep = (deLevel + 2) / 3;
    // Level 0 never reaches the game; the guard keeps a stray value from dividing by zero.
    return 500 / (groep == 0 ? 1 : groep);
}

void VijandLoop() {
    if (TimerVijand % SpawnPeriode(level) == 0 && CNTVijand < MaxVijand) {
        CNTVijand += 1;
        MakeVijand(CNTVijand);
    }
    for (CARDINAL i = 1; i <= CNTVijand; ++i) {
        if (VijandAr[i].life) {
            VijandDo(i);
        }
    }
}

void MakeVijand(CARDINAL x) {
    if (x == 0 || x > MaxVijand) {
        return;
    }
    VijandRc& vijand = VijandAr[x];
    // The draws stay in this order: q, r, drift x, drift y, colour.
    const CARDINAL q = StandardLib::RandomCard(0, 800);
    const REAL v = Teken(q);
    const CARDINAL r = StandardLib::RandomCard(0, 600);
    const REAL w = Teken(r);
    vijand.vectV = QX3D::MaakVector(static_cast<REAL>(q) * v / 1000.0f,
                                    static_cast<REAL>(r) * w / 1000.0f, VijandStartDiepte);
    // Kept on purpose: the sideways drift takes the sign of the vertical
    // offset and the vertical drift that of the sideways offset.
    vijand.RichVect.x = static_cast<REAL>(StandardLib::RandomCard(0, 200)) * w / 1000.0f;
    vijand.RichVect.y = static_cast<REAL>(StandardLib::RandomCard(0, 150)) * v / 1000.0f;
    vijand.RichVect.z = -0.1f - 10.0f * Snelheid;
    vijand.life = true;
    vijand.kogeltimer = 0;
    vijand.kleur = static_cast<Kleuren>(StandardLib::RandomCard(0, 15));
}

void VijandDo(CARDINAL x) {
    if (x == 0 || x > MaxVijand) {
        return;
    }
    QX3D::VerschuifVector(VijandAr[x].vectV, VijandAr[x].RichVect);
}

void KogelVLoop() {
    for (CARDINAL j = 1; j <= CNTKogV; ++j) {
        if (KogelVAr[j].vectB.z < KogelVEinde) {
            KogelVAr[j].life = false;
        } else {
            KogelVDo(j);
        }
    }
    for (CARDINAL i = 1; i <= CNTVijand; ++i) {
        VijandRc& vijand = VijandAr[i];
        // Equality on purpose: an enemy that is dead when its turn comes never fires again.
        if (vijand.kogeltimer == VuurInterval && vijand.life) {
            MakeKogelV(vijand.vectV);
            vijand.kogeltimer = 0;
        }
        vijand.kogeltimer += 1;
    }
}

void MakeKogelV(QX3D::Vector v) {
    const CARDINAL x = StandardLib::RandomCard(1, 100);
    const REAL q = Teken(x);
    const CARDINAL y = StandardLib::RandomCard(1, 80);
    const REAL r = Teken(y);
    if (CNTKogV >= MaxKogel) {
        return;   // no free slot: the shot is not made (the rules never get here)
    }
    CNTKogV += 1;
    BulletRc& kogel = KogelVAr[CNTKogV];
    kogel.vectB = v;
    const QX3D::Vector help = Richting(v, x, q, y, r);
    const REAL lengte = QX3D::Norm(help);
    if (lengte == 0.0f) {
        // Fired from the aiming point itself (an enemy at the viewer's plane,
        // in the frame before it is removed): no direction to fly in. The
        // bullet stands still instead of carrying 0/0 along, and expires in
        // the next frame, since it lies nearer than depth 10.
        kogel.RichVect = QX3D::MaakVector(0.0f, 0.0f, 0.0f);
    } else {
        kogel.RichVect = QX3D::MaakVector(help.x * KogelVSnelheid / lengte, help.y * KogelVSnelheid / lengte,
                                          help.z * KogelVSnelheid / lengte);
    }
    kogel.life = true;
}

void KogelVDo(CARDINAL x) {
    if (x == 0 || x > MaxKogel) {
        return;
    }
    QX3D::VerschuifVector(KogelVAr[x].vectB, KogelVAr[x].RichVect);
}

// Two wings from the nose to the diagonals of an 80 by 24 rectangle 80 units
// behind it, then a pyramid with its point at the nose and a 32 by 24 base.
void VijandTek(QX3D::Vector v, CARDINAL c) {
    const CARDINAL kleur = (c >= 1 && c <= MaxVijand) ? VijandAr[c].kleur : BLACK;
    const QX3D::Polygoon vleugel1 = QX3D::MaakPolygoon(
        Verschoven(v, -40.0f, -12.0f, 80.0f), v, v, Verschoven(v, 40.0f, 12.0f, 80.0f), kleur);
    const QX3D::Polygoon vleugel2 = QX3D::MaakPolygoon(
        Verschoven(v, -40.0f, 12.0f, 80.0f), v, v, Verschoven(v, 40.0f, -12.0f, 80.0f), kleur);
    const QX3D::Vector hoeken[8] = {
        Verschoven(v, -16.0f, -12.0f, 80.0f), v, v, Verschoven(v, 16.0f, -12.0f, 80.0f),
        Verschoven(v, -16.0f, 12.0f, 80.0f),  v, v, Verschoven(v, 16.0f, 12.0f, 80.0f),
    };
    const CARDINAL kleuren[6] = {kleur, kleur, kleur, kleur, kleur, kleur};
    QX3D::TekenPolygoon(vleugel1);
    QX3D::TekenPolygoon(vleugel2);
    QX3D::TekenPolyhedron(QX3D::MaakPolyhedron(hoeken, kleuren));
}

// A tiny pyramid with its point at the bullet's position, its base just behind.
void KogelVTek(QX3D::Vector v) {
    const REAL e = KogelVRand;
    const QX3D::Vector hoeken[8] = {
        Verschoven(v, -e, -e, e), v, v, Verschoven(v, e, -e, e),
        Verschoven(v, -e, e, e),  v, v, Verschoven(v, e, e, e),
    };
    const CARDINAL kleuren[6] = {KogelVKleur, KogelVKleur, KogelVKleur,
                                 KogelVKleur, KogelVKleur, KogelVKleur};
    QX3D::TekenPolyhedron(QX3D::MaakPolyhedron(hoeken, kleuren));
}

}  // namespace KYR12
