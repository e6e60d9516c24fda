// The game state: one definition of every variable the game, the star fields
// and the presentation sequences share. All of it is static storage, so at
// program load every number is 0, every flag FALSE and every array zeroed;
// the program body then sets `level` and `Snelheid` for the run.
#include "game/GameState.h"

#include <algorithm>
#include <iterator>

namespace KYR12 {

CARDINAL level = 0;
REAL Snelheid = 0.0f;
BOOLEAN TOTALQUIT = false;

CARDINAL score = 0;
CARDINAL TimerVijand = 0;
CARDINAL TimerSterren = 0;
BOOLEAN Quit = false;
CARDINAL CNTVijand = 0;
CARDINAL CNTKogV = 0;
CARDINAL CNTKogA = 0;
AanvallerRc Aanvaller = {};
VijandRc VijandAr[MaxVijand + 1] = {};
BulletRc KogelAAr[MaxKogel + 1] = {};
BulletRc KogelVAr[MaxKogel + 1] = {};
QX3D::Vector vx1 = {}, vx2 = {}, vy1 = {}, vy2 = {};

QX3D::Vector sterrenS[AantalSterren] = {};
QX3D::Vector sterren[AantalSterren] = {};

namespace {

template <typename T, std::size_t N>
void Wis(T (&rij)[N]) {
    std::fill(std::begin(rij), std::end(rij), T{});
}

}  // namespace

void ResetGameState() {
    level = 0;
    Snelheid = 0.0f;
    TOTALQUIT = false;
    score = 0;
    TimerVijand = 0;
    TimerSterren = 0;
    Quit = false;
    CNTVijand = 0;
    CNTKogV = 0;
    CNTKogA = 0;
    Aanvaller = {};
    Wis(VijandAr);
    Wis(KogelAAr);
    Wis(KogelVAr);
    vx1 = vx2 = vy1 = vy2 = {};
    Wis(sterrenS);
    Wis(sterren);
}

}  // namespace KYR12
