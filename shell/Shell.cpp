// The program body: initialises every module once, opens the window, plays
// the intro, runs the menu until Close, plays the credits and ends.
#include "shell/Shell.h"

#include "engine3d/QX3D.h"
#include "game/GameState.h"
#include "game/Sterren.h"
#include "platform/console/IO.h"
#include "platform/console/Lib.h"
#include "platform/console/Waits.h"
#include "platform/graph/Graph.h"
#include "platform/graph/GraphFrames.h"
#include "shell/StandardLib.h"
#include "shows/Shows.h"

namespace KYR12 {

namespace {

constexpr INTEGER VensterLinks = 1;
constexpr INTEGER VensterBoven = 1;
constexpr INTEGER VensterBreedte = 1025;
constexpr INTEGER VensterHoogte = 730;
constexpr REAL Zichthoek = 60.0f;

constexpr int StatusGoed = 0;
constexpr int StatusGeenVenster = 1;

// Each module after the modules it uses.
void InitialiseerModules() {
    Graph::ModuleInit();
    IO::ModuleInit();
    Lib::ModuleInit();
    StandardLib::ModuleInit();
    // The window shows a frame at each of the program's waits.
    Waits::SetFrameHooks({Graph::PublishFrame, Graph::RequestsPosted});
}

void SluitModulesAf() { Graph::ModuleExit(); }

int Hoofdprogramma() {
    if (!Graph::Init(VensterLinks, VensterBoven, VensterBreedte, VensterHoogte)) {
        IO::WrStr("[ERROR] !!!QUIT ALL APPLICATIONS AND RUN AWAY: YOUR PC IS ABOUT TO EXPLODE!!! [ERROR]");
        IO::WrLn();
        // Reported as a failure: nothing ran, so the run did not succeed.
        return StatusGeenVenster;
    }
    QX3D::Init3D(VensterBreedte, VensterHoogte, Zichthoek);
    level = 1;
    Snelheid = 0.0f;
    Intro();
    KuisSchermGroot();
    Menu();
    KuisSchermGroot();
    Credits();
    IO::WrLn();
    IO::RdLn();  // returns at once: the program never waits for Enter
    return StatusGoed;
}

}  // namespace

int RunProgram() {
    InitialiseerModules();
    int status = Hoofdprogramma();
    SluitModulesAf();
    return status;
}

}  // namespace KYR12
