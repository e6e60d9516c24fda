// The credits: three lines scroll in from the right on travelling sine waves
// over a turning star field, stop, and are joined by a line of thanks.
#include "game/Sterren.h"
#include "platform/console/Lib.h"
#include "platform/graph/Graph.h"
#include "shows/Shows.h"

namespace KYR12 {
namespace {

constexpr CHAR kop[] = "* KYR was designed and created by:... *";
constexpr CHAR regel1[] = "3D by: Ezko Brandewijk & Moravel Tastenhoye";
constexpr CHAR regel2[] = "Game by: Jorrit Vaneveldt";
constexpr CHAR regel3[] = "Intro, Credits, Outro & Idea by: Sieward Malfliet";
constexpr CHAR dankKop[] = " Special Thanks Go To:... ";
constexpr CHAR dankRegel[] = "Prof. Kwartelmans & Idske Opdenacker";

constexpr CARDINAL inschuifBeelden = 701;   // i = 0 to 700
constexpr CARDINAL staBeelden = 601;        // i = 0 to 600
constexpr CARDINAL startKolom = 950;        // where the lines enter; they stop at 950 - 700 = 250
constexpr CARDINAL staKolom = 250;
constexpr CARDINAL amplitude = 5;
constexpr CARDINAL wachtMs = 25;

// Lines 1 and 3 take the phase i MOD 360 and jump back at i = 360; line 2
// keeps i + 1 unreduced, so its wave runs one character ahead and never jumps.
// Kept on purpose: the jump is part of how the credits have always looked.
void SchrijfRegels(CARDINAL X, CARDINAL i) {
    SinText(X, 200, LIGHTGREEN, regel1, amplitude, i % 360);
    SinText(X, 250, LIGHTGREEN, regel2, amplitude, i + 1);
    SinText(X, 300, LIGHTGREEN, regel3, amplitude, i % 360);
}

void Inschuiven() {
    for (CARDINAL i = 0; i < inschuifBeelden; ++i) {
        KuisSchermGroot();
        TekenEnDraaiSterren(5.0f);
        Graph::RawOutText(380, 25, LIGHTBLUE, kop);
        SchrijfRegels(startKolom - i, i);
        Lib::Delay(wachtMs);
    }
}

void Stilstaan() {
    for (CARDINAL i = 0; i < staBeelden; ++i) {
        KuisSchermGroot();
        TekenEnDraaiSterren(-5.0f);
        Graph::RawOutText(400, 25, LIGHTBLUE, kop);   // 20 pixels right of the scroll-in header
        SchrijfRegels(staKolom, i);
        Graph::RawOutText(432, 400, LIGHTBLUE, dankKop);
        SinText(370, 450, LIGHTMAGENTA, dankRegel, 7, (i / 2) % 360);   // half speed
        Lib::Delay(wachtMs);
    }
}

}  // namespace

void Credits() {
    InitSterren();
    Inschuiven();
    Stilstaan();
}

}  // namespace KYR12
