// The main menu: nine numbered entries, a highlight moved with UP and DOWN,
// the level and speed changed with LEFT and RIGHT, SPACE to perform an entry.
#include <cstring>

#include "game/Game.h"
#include "game/GameState.h"
#include "game/Sterren.h"
#include "platform/console/IO.h"
#include "platform/console/WholeStr.h"
#include "platform/graph/Graph.h"
#include "shell/MenuTeksten.h"
#include "shell/Shell.h"
#include "shell/StandardLib.h"
#include "shows/Shows.h"

namespace KYR12 {

namespace {

constexpr CARDINAL KleurNormaal = MAGENTA;
constexpr CARDINAL KleurOplichten = CYAN;

constexpr CARDINAL KeuzeX = 100;
constexpr CARDINAL WaardeX = 350;  // inside the first blank run of entries 6 and 7
constexpr CARDINAL KeuzeLevel = 6;
constexpr CARDINAL KeuzeSnelheid = 7;
constexpr CARDINAL KeuzeSluiten = 9;

constexpr CARDINAL LevelMin = 1;
constexpr CARDINAL LevelMax = 8;
// The speed moves in 32-bit float steps; its sums are never snapped to whole
// steps, so the values drift a little and the top value is 0.2500000298.
constexpr REAL SnelheidStap = 0.01f;
constexpr REAL SnelheidMin = 0.0f;
constexpr REAL SnelheidMax = 0.25f;

CARDINAL KeuzeY(CARDINAL i) { return 180 + 20 * i; }

CARDINAL KleurVan(BOOLEAN opgelicht) { return opgelicht ? KleurOplichten : KleurNormaal; }

void TekenHulpRegels() {
    // The help lines are plain literals, not menu lines: each one's storage is
    // its characters and the closing zero.
    for (const HulpRegel& regel : HulpRegels) {
        Graph::RawOutText(regel.x, regel.y, KleurNormaal, regel.tekst, std::strlen(regel.tekst) + 1);
    }
}

// Draws the nine entries in order, each value right after its own line so
// that it stands on top of that line's blank run.
void TekenKeuzes(const Keuzes& keuzes, CARDINAL d) {
    for (CARDINAL i = 1; i <= AantalKeuzes; ++i) {
        Graph::RawOutText(KeuzeX, KeuzeY(i), KleurVan(i == d), keuzes[i]);
        if (i == KeuzeLevel) {
            leveloutput tekst;
            Level(tekst);
            Graph::RawOutText(WaardeX, KeuzeY(i), KleurVan(d == KeuzeLevel), tekst);
        } else if (i == KeuzeSnelheid) {
            snelheidoutput tekst;
            snelheid(tekst);
            Graph::RawOutText(WaardeX, KeuzeY(i), KleurVan(d == KeuzeSnelheid), tekst);
        }
    }
}

void VeranderWaarde(CARDINAL d, BOOLEAN omhoog) {
    if (d == KeuzeLevel) {
        if (omhoog && level < LevelMax) level = level + 1;
        if (!omhoog && level >= LevelMin + 1) level = level - 1;
    } else if (d == KeuzeSnelheid) {
        if (omhoog && Snelheid < SnelheidMax) Snelheid = Snelheid + SnelheidStap;
        if (!omhoog && Snelheid > SnelheidMin) Snelheid = Snelheid - SnelheidStap;
    }
}

// Clears the window around a screen that leaves its picture behind.
void MetSchoonScherm(void (*scherm)()) {
    KuisSchermGroot();
    scherm();
    KuisSchermGroot();
}

}  // namespace

void NavMenu(CARDINAL& d, BOOLEAN& b) {
    CARDINAL a = StandardLib::RdArrowKey();
    b = false;
    switch (a) {
        case StandardLib::ArrowUp: d = d > 1 ? d - 1 : AantalKeuzes; break;
        case StandardLib::ArrowDown: d = d < AantalKeuzes ? d + 1 : 1; break;
        case StandardLib::ArrowLeft: VeranderWaarde(d, false); break;
        case StandardLib::ArrowRight: VeranderWaarde(d, true); break;
        case StandardLib::ArrowSpace: b = true; break;
        default: break;
    }
}

void MenuDo(CARDINAL d) {
    switch (d) {
        case 1: MetSchoonScherm(Intro); break;
        case 2: MetSchoonScherm(VERHAAL); break;
        case 3: SPEL(); break;  // the game clears the window itself
        case 4: MetSchoonScherm(BEDIENING); break;
        case 5: MetSchoonScherm(Credits); break;
        case 8: MetSchoonScherm(Demo); break;
        case KeuzeSluiten:
            TOTALQUIT = true;
            IO::WrLn();
            IO::RdLn();
            break;
        default: break;  // 6 and 7 hold values, not actions
    }
}

void snelheid(snelheidoutput& out) {
    // Widened to double first, where the product by 100 is exact.
    INTEGER honderdsten = static_cast<INTEGER>(static_cast<double>(Snelheid) * 100.0);
    WholeStr::IntToStr(honderdsten, out);
}

void Menu() {
    Keuzes keuzes;
    TekenHulpRegels();
    VulKeuzes(keuzes);
    TekenKeuzes(keuzes, 1);
    CARDINAL d = 1;
    BOOLEAN b = false;
    do {
        // Polls without pausing and draws only after a key was read.
        if (IO::KeyPressed()) {
            NavMenu(d, b);
            TekenKeuzes(keuzes, d);
            if (b) {
                MenuDo(d);
                TekenHulpRegels();
                TekenKeuzes(keuzes, d);
            }
        }
    } while (!TOTALQUIT);
}

}  // namespace KYR12
