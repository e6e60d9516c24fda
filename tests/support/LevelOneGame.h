// The modules the game uses, made ready for a level-1 game at speed 0 as the
// program leaves them when Play KYR is chosen: for the tests that run the
// game itself (on the offscreen window or in the SDL window). Graph must be
// open and a clock installed first. Needs kyr_game, standardlib, engine3d.
#pragma once
#include "engine3d/QX3D.h"
#include "game/Game.h"
#include "game/GameState.h"
#include "platform/console/IO.h"
#include "platform/console/InputQueue.h"
#include "platform/console/Lib.h"
#include "platform/console/Waits.h"
#include "platform/graph/GraphFrames.h"
#include "platform/graph/GraphProbe.h"
#include "shell/StandardLib.h"

namespace testsupport {

inline void ReadyForLevelOneGame() {
    QX3D::Init3D(1025, 730, 60.0f);
    IO::ModuleInit();
    IO::ClearInput();
    Lib::ModuleInit();
    StandardLib::ModuleInit();
    KYR12::ResetGameState();
    KYR12::level = 1;
    KYR12::Snelheid = 0.0f;
    KYR12::Initialize();
    // As in the program: the game's one poll a frame follows its drawing, so
    // it never idles.
    Waits::SetFrameHooks({Graph::PublishFrame, Graph::RequestsPosted});
}

}  // namespace testsupport
