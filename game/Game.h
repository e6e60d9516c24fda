// The game: levels, frame loop, player, enemies, bullets, hits, explosions and scoreboard.
#pragma once
#include "engine3d/QX3D.h"
#include "platform/Types.h"

namespace KYR12 {

using leveloutput = CHAR[10];

// Game flow and frame loop.
void SPEL();
void Initialize();
void SIM();
void TekenAlles();
void KortMENU();

// Player ship and player bullets.
void AanvallerDo();
void MakeKogelA();
void KogelADo(CARDINAL x);
void KogelALoop();
void KogelATek(QX3D::Vector v);
void AanvalTek();

// Enemies and enemy fire.
void VijandLoop();
void MakeVijand(CARDINAL x);
void VijandDo(CARDINAL x);
void KogelVLoop();
void MakeKogelV(QX3D::Vector v);
void KogelVDo(CARDINAL x);
void VijandTek(QX3D::Vector v, CARDINAL c);
void KogelVTek(QX3D::Vector v);

// Hits, explosions and scoreboard.
void CheckV();
void CheckA();
void BoomV(CARDINAL i);
void BoomA();
void Leven();
void Level(leveloutput& out);
void Score(leveloutput& out);

}  // namespace KYR12
