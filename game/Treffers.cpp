// Hits and the scoreboard: player bullets against enemies, enemy bullets
// against the player, the two explosions, the row of lives and the level
// and score as text. Hits are decided on the screen, by projected position.
#include "game/Game.h"
#include "game/GameState.h"
#include "game/SpelIntern.h"
#include "platform/console/Lib.h"
#include "platform/console/WholeStr.h"
#include "platform/graph/Graph.h"

namespace KYR12 {

namespace {

constexpr REAL ViewerVlak = 1.0f;          // enemies at or nearer than this depth leave
constexpr REAL KogelVoorsprong = 2.0f;     // a bullet must be this much nearer than its enemy
constexpr REAL SpelerBereik = 5.0f;        // enemy bullets nearer than this can hit the player

constexpr CARDINAL BoomVStraal = 100;
constexpr CARDINAL BoomVFlitsen = 20;
constexpr CARDINAL BoomAStraal = 300;
constexpr CARDINAL BoomAFlitsen = 50;
constexpr CARDINAL FlitsMs = 5;

// Which enemies sit under the crosshair in the current CheckV; positions do
// not change while it runs, so each enemy is projected once.
BOOLEAN onderVizier[MaxVijand + 1];

BOOLEAN InBox(QX3D::Vector punt, INTEGER links, INTEGER rechts, INTEGER boven, INTEGER onder) {
    if (!QX3D::ProjectieGedefinieerd(punt)) {
        return false;
    }
    const INTEGER kolom = QX3D::ProjectieX(punt);
    const INTEGER rij = QX3D::ProjectieY(punt);
    return kolom >= links && kolom <= rechts && rij >= boven && rij <= onder;
}

// A disc flashed on and off, `flitsen` times, 5 ms per half.
void Flits(CARDINAL x, CARDINAL y, CARDINAL straal, CARDINAL flitsen) {
    for (CARDINAL k = 0; k < flitsen; ++k) {
        Graph::Disc(x, y, straal, BLUE);
        Lib::Delay(FlitsMs);
        Graph::Disc(x, y, straal, BLACK);
        Lib::Delay(FlitsMs);
    }
}

// Enemies that reached the viewer's plane leave without score.
void VerwijderVoorbijeVijanden() {
    for (CARDINAL i = 1; i <= CNTVijand; ++i) {
        if (VijandAr[i].vectV.z <= ViewerVlak) {
            VijandAr[i].life = false;
        }
    }
}

// Bullet j spends itself on the first enemy it hits, in index order.
void SchietMet(CARDINAL j) {
    for (CARDINAL i = 1; i <= CNTVijand; ++i) {
        VijandRc& vijand = VijandAr[i];
        BulletRc& kogel = KogelAAr[j];
        if (vijand.life && kogel.life && onderVizier[i] &&
            kogel.vectB.z < vijand.vectV.z - KogelVoorsprong) {
            BoomV(i);
            kogel.life = false;
            vijand.life = false;
            score += 1;
        }
    }
}

}  // namespace

BOOLEAN InDoelBox(QX3D::Vector punt) {
    return InBox(punt, 510, 516, 362, 368);
}

BOOLEAN InSpelerBox(QX3D::Vector punt) {
    return InBox(punt, 496, 529, 351, 379);
}

void CheckV() {
    VerwijderVoorbijeVijanden();
    for (CARDINAL i = 1; i <= CNTVijand; ++i) {
        onderVizier[i] = VijandAr[i].life && InDoelBox(VijandAr[i].vectV);
    }
    for (CARDINAL j = 1; j <= CNTKogA; ++j) {
        if (KogelAAr[j].life) {
            SchietMet(j);
        }
    }
}

// Each hitting bullet takes one life, never the last counter value 1; the
// bullet flies on and expires in the next frame.
void CheckA() {
    for (CARDINAL i = 1; i <= CNTKogV; ++i) {
        const BulletRc& kogel = KogelVAr[i];
        if (kogel.life && kogel.vectB.z < SpelerBereik && InSpelerBox(kogel.vectB) && Aanvaller.life > 1) {
            Aanvaller.life -= 1;
        }
    }
}

void BoomV(CARDINAL i) {
    if (i == 0 || i > MaxVijand || !QX3D::ProjectieGedefinieerd(VijandAr[i].vectV)) {
        return;
    }
    const INTEGER x = QX3D::ProjectieX(VijandAr[i].vectV);
    const INTEGER y = QX3D::ProjectieY(VijandAr[i].vectV);
    if (x < 0 || y < 0) {
        return;   // never for a hit enemy, which lies in the box round the crosshair
    }
    Flits(static_cast<CARDINAL>(x), static_cast<CARDINAL>(y), BoomVStraal, BoomVFlitsen);
}

void BoomA() {
    Flits(512, 365, BoomAStraal, BoomAFlitsen);
}

// Box i of n stands 20 pixels right of box i - 1 and always has colour i + 2,
// so the row stays centred and a lost life removes the highest colour.
void Leven() {
    const INTEGER n = static_cast<INTEGER>(Aanvaller.life) - 1;
    for (INTEGER i = 1; i <= n; ++i) {
        const INTEGER links = 513 - 10 * n + 20 * i;
        Graph::Rectangle(static_cast<CARDINAL>(links), 10, static_cast<CARDINAL>(links + 19), 30,
                         static_cast<CARDINAL>(i + 2), true);
    }
}

void Level(leveloutput& out) {
    WholeStr::CardToStr(level, out);
}

void Score(leveloutput& out) {
    WholeStr::CardToStr(score, out);
}

}  // namespace KYR12
