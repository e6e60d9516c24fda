// Star fields and screen clearing. A star is only a point: every drawing call
// draws it where the previous call left it, then moves it towards the viewer;
// a star that passes depth 1 starts again at depth 300 with the same x and y.
#include "game/Sterren.h"

#include "game/GameState.h"
#include "platform/console/Lib.h"
#include "platform/graph/Graph.h"
#include "platform/graph/Kleuren.h"

namespace KYR12 {

namespace {

// Stars are drawn only inside this window of the screen, also where no
// frame is shown.
constexpr INTEGER SterLinks = 113, SterRechts = 912;
constexpr INTEGER SterBoven = 66, SterOnder = 664;

constexpr REAL SterStap = 5.0f;
constexpr REAL SterDichtst = 1.0f;
constexpr REAL SterVerst = 300.0f;

// A new random star in the box x, y from -150 to 150, z from 1 to 151; the
// three random numbers are drawn in the order x, y, z.
QX3D::Vector NieuweSter() {
    QX3D::Vector v;
    v.x = static_cast<REAL>(Lib::RAND() * 300 - 150);
    v.y = static_cast<REAL>(Lib::RAND() * 300 - 150);
    v.z = static_cast<REAL>(Lib::RAND() * 150 + 1);
    return v;
}

void NieuwVeld(QX3D::Vector (&veld)[AantalSterren]) {
    for (QX3D::Vector& ster : veld) {
        ster = NieuweSter();
    }
}

// A star nearer than depth 1 goes back to the far end of the field.
void TerugNaarAchter(QX3D::Vector& ster) {
    if (ster.z < SterDichtst) {
        ster.z = SterVerst;
    }
}

void Vooruit(QX3D::Vector& ster) {
    ster.z = ster.z - SterStap;
    TerugNaarAchter(ster);
}

void Balk(CARDINAL x1, CARDINAL y1, CARDINAL x2, CARDINAL y2) {
    Graph::Rectangle(x1, y1, x2, y2, WHITE, true);
}

}  // namespace

// One star as the single pixel its projection falls on; a filled 2 x 2
// rectangle paints exactly that pixel. A star without a defined projection
// is not drawn.
void TekenSter(QX3D::Vector positie) {
    INTEGER px = 0, py = 0;
    if (!QX3D::ProjectiePunt(positie, px, py)) {
        return;
    }
    if (px >= SterLinks && px <= SterRechts && py >= SterBoven && py <= SterOnder) {
        const CARDINAL x = static_cast<CARDINAL>(px), y = static_cast<CARDINAL>(py);
        Graph::Rectangle(x, y, x + 2, y + 2, WHITE, true);
    }
}

void KuisSchermGroot() {
    Graph::Rectangle(0, 0, 1025, 730, BLACK, true);
}

// The four bars of the play-area frame; the filled rectangles leave out
// their right and bottom rows, so the frame paints (107, 60) to (916, 668).
void TekenVarko() {
    Balk(107, 60, 918, 65);   // top
    Balk(107, 60, 112, 670);  // left
    Balk(107, 670, 918, 664); // bottom
    Balk(912, 670, 918, 60);  // right
}

void KuisSchermVarko() {
    KuisSchermGroot();
    TekenVarko();
}

void InitSterren() { NieuwVeld(sterren); }

void InitSterrenS() { NieuwVeld(sterrenS); }

void TekenSterren() {
    for (QX3D::Vector& ster : sterren) {
        TekenSter(ster);
        Vooruit(ster);
    }
}

// The field turns about the line of sight, so it spins round the screen centre.
void TekenEnDraaiSterren(REAL hoek) {
    const QX3D::Vector zichtlijn = QX3D::MaakVector(0, 0, 1);
    const QX3D::Vector oorsprong = QX3D::MaakVector(0, 0, 0);
    for (QX3D::Vector& ster : sterren) {
        TekenSter(ster);
        ster = QX3D::DraaiVectorRondAs(ster, hoek, zichtlijn, oorsprong);
        Vooruit(ster);
    }
}

// The game's stars move all together on every fifth frame, starting with the
// level's first frame; the counter is reset while they move.
void TekenSterrenS() {
    for (QX3D::Vector& ster : sterrenS) {
        TekenSter(ster);
        if (TimerSterren % 5 == 0) {
            ster.z = ster.z - SterStap;
            TimerSterren = 0;
        }
        TerugNaarAchter(ster);
    }
    TimerSterren = TimerSterren + 1;
}

}  // namespace KYR12
