// The game's flow: a sequence of announced levels, each a paced frame loop,
// ended by a lost last life (explosion and outro) or by the quit key.
#include "game/Game.h"
#include "game/GameState.h"
#include "game/SpelIntern.h"
#include "game/Sterren.h"
#include "platform/console/Clock.h"
#include "platform/console/IO.h"
#include "platform/console/Lib.h"
#include "platform/graph/Graph.h"
#include "shows/Shows.h"

namespace KYR12 {

namespace {

constexpr CARDINAL TekstKleur = CYAN;
constexpr CARDINAL AankondigingMs = 1500;
constexpr CARDINAL MaxKogelVPerLevel = 10000;   // a level ends once more enemy bullets exist

// "level", its number and the seat-belt line, three seconds on a black screen.
void KondigLevelAan() {
    KuisSchermGroot();
    leveloutput nummer;
    Level(nummer);
    Graph::RawOutText(487, 365, TekstKleur, "level");
    Graph::RawOutText(499, 385, TekstKleur, nummer);
    Lib::Delay(AankondigingMs);
    Graph::RawOutText(382, 425, TekstKleur, "!!FASTEN YOUR SEATBELT PLEASE!!");
    Lib::Delay(AankondigingMs);
    KuisSchermGroot();
}

BOOLEAN LevelVoorbij() {
    return Aanvaller.life == 1 || Quit || CNTVijand > 12 * level || CNTKogV > MaxKogelVPerLevel;
}

// Frames until the level ends, each followed by a wait for its 1/60 s slot.
void SpeelLevel() {
    FrameTempo tempo = StartTempo(Clock::NowUs());
    do {
        SIM();
        KortMENU();
        Leven();
        Clock::SleepUntilUs(VolgendeFrameStart(tempo, Clock::NowUs()));
    } while (!LevelVoorbij());
}

}  // namespace

void SPEL() {
    do {
        KondigLevelAan();
        Initialize();
        SpeelLevel();
        KuisSchermGroot();
        if (level <= 7 && !Quit && Aanvaller.life >= 2) {
            level += 1;
        }
    } while (!(Aanvaller.life == 1 || Quit));
    if (Aanvaller.life == 1) {
        BoomA();
        Outro();
    }
    KuisSchermGroot();
}

void Initialize() {
    InitSterrenS();
    // The z of 1.0E-33 is kept on purpose: steering also nudges depth by it.
    vy1 = QX3D::MaakVector(0.1f, 0.0f, 1.0E-33f);
    vy2 = QX3D::MaakVector(-0.1f, 0.0f, 1.0E-33f);
    vx1 = QX3D::MaakVector(0.0f, 0.1f, 1.0E-33f);
    vx2 = QX3D::MaakVector(0.0f, -0.1f, 1.0E-33f);
    Aanvaller.life = 6;
    CNTVijand = 0;
    CNTKogV = 0;
    CNTKogA = 0;
    TimerVijand = 0;
    TimerSterren = 0;
    Quit = false;
    score = 0;
    TekenVarko();   // on the window the announcement just cleared
}

void SIM() {
    VijandLoop();
    KogelALoop();
    KogelVLoop();
    CheckV();
    CheckA();
    KuisSchermVarko();
    if (CNTVijand > 0) {
        TekenAlles();
    }
    TekenSterrenS();
    // KeyPressed reports any key-down, also a modifier pressed alone that
    // RdKey skips: the frame then waits for the next real key. Kept on purpose.
    if (IO::KeyPressed()) {
        AanvallerDo();
    }
    TimerVijand += 1;
}

void TekenAlles() {
    for (CARDINAL i = 1; i <= CNTVijand; ++i) {
        if (VijandAr[i].life) {
            VijandTek(VijandAr[i].vectV, i);
        }
    }
    for (CARDINAL i = 1; i <= CNTKogA; ++i) {
        if (KogelAAr[i].life) {
            KogelATek(KogelAAr[i].vectB);
        }
    }
    for (CARDINAL i = 1; i <= CNTKogV; ++i) {
        if (KogelVAr[i].life) {
            KogelVTek(KogelVAr[i].vectB);
        }
    }
    AanvalTek();
}

void KortMENU() {
    leveloutput tekst;
    Graph::RawOutText(502, 35, TekstKleur, "# lives");
    Level(tekst);
    Graph::RawOutText(965, 365, TekstKleur, tekst);
    Graph::RawOutText(950, 345, TekstKleur, "level");
    Score(tekst);
    Graph::RawOutText(40, 365, TekstKleur, tekst);
    Graph::RawOutText(25, 345, TekstKleur, "Score");
}

}  // namespace KYR12
