// The whole state of the game, owned by the main module: the two settings
// the menu edits, the counters and timers of the current level, the player,
// the fixed object arrays and the two star fields. Arrays are indexed as the
// game counts: enemies 1..1000, bullets 1..100000 (slot 0 unused), stars 0..200.
#pragma once
#include "engine3d/QX3D.h"
#include "platform/Types.h"
#include "platform/graph/Kleuren.h"

namespace KYR12 {

inline constexpr CARDINAL MaxVijand = 1000;
inline constexpr CARDINAL MaxKogel = 100000;
inline constexpr CARDINAL AantalSterren = 201;

struct AanvallerRc {
    CARDINAL life;      // 6 at level start; life - 1 lives left
};

struct BulletRc {
    QX3D::Vector vectB;
    QX3D::Vector RichVect;
    BOOLEAN life;
};

struct VijandRc {
    QX3D::Vector vectV;
    QX3D::Vector RichVect;
    BOOLEAN life;
    CARDINAL kogeltimer;
    Kleuren kleur;
};

// Settings, edited by the menu.
extern CARDINAL level;
extern REAL Snelheid;
extern BOOLEAN TOTALQUIT;

// Level state.
extern CARDINAL score;
extern CARDINAL TimerVijand;
extern CARDINAL TimerSterren;
extern BOOLEAN Quit;
extern CARDINAL CNTVijand;
extern CARDINAL CNTKogV;
extern CARDINAL CNTKogA;
extern AanvallerRc Aanvaller;
extern VijandRc VijandAr[MaxVijand + 1];
extern BulletRc KogelAAr[MaxKogel + 1];
extern BulletRc KogelVAr[MaxKogel + 1];
extern QX3D::Vector vx1, vx2, vy1, vy2;

// Star fields: sterrenS for the game, sterren for the presentation sequences.
extern QX3D::Vector sterrenS[AantalSterren];
extern QX3D::Vector sterren[AantalSterren];

// Puts every variable back to its value at program load (tests).
void ResetGameState();

}  // namespace KYR12
