// Star fields and screen clearing, used by the game and by every presentation sequence.
#pragma once
#include "engine3d/QX3D.h"
#include "platform/Types.h"

namespace KYR12 {

void TekenSter(QX3D::Vector positie);
void KuisSchermGroot();
void KuisSchermVarko();
void InitSterren();
void TekenSterren();
void TekenEnDraaiSterren(REAL hoek);
void TekenSterrenS();

// The four bars of the play-area frame, without clearing first (level start).
void TekenVarko();
// New random stars for the game's field sterrenS, as InitSterren does for sterren.
void InitSterrenS();

}  // namespace KYR12
