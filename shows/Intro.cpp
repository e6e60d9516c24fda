// The intro: the three title glyphs fly in through the stars, then make one
// full turn about a vertical axis under five lines of title text.
#include "engine3d/QX3D.h"
#include "game/Sterren.h"
#include "platform/console/Lib.h"
#include "platform/graph/Graph.h"
#include "shows/Shows.h"
#include "shows/Titel.h"

namespace KYR12 {
namespace {

using QX3D::Polyhedron;
using QX3D::Vector;

constexpr CARDINAL naderingsBeelden = 221;   // depth offset 700 down to 260 in steps of 2
constexpr CARDINAL draaiBeelden = 360;       // one degree per frame: one full turn
constexpr CARDINAL wachtMs = 50;

struct Titel {
    Polyhedron C[4];
    Polyhedron S[7];
    Polyhedron SS[7];
};

void TekenTitel(const Titel& t) {
    TekenC(t.C);
    TekenS(t.S);
    TekenSS(t.SS);
}

void VerschuifTitel(Titel& t, Vector v) {
    verschuifC(t.C, v);
    verschuifS(t.S, v);
    verschuifSS(t.SS, v);
}

void SchrijfTitelRegels() {
    Graph::RawOutText(412, 50, LIGHTYELLOW, "Tolvenmark Present:");
    Graph::RawOutText(412, 70, LIGHTYELLOW, "       in STUNNING 3D...");
    Graph::RawOutText(447, 585, LIGHTYELLOW, "Skyrothane");
    Graph::RawOutText(380, 605, LIGHTYELLOW, "* IN SPACE, NO ONE CAN HEAR YOU SCREAM *");
    Graph::RawOutText(462, 635, LIGHTYELLOW, "Therefore: No sound.");
}

// Each frame shows the glyphs where the previous frame left them.
void Nadering(Titel& t) {
    const Vector v = QX3D::MaakVector(0, 0, -2);
    for (CARDINAL beeld = 0; beeld < naderingsBeelden; ++beeld) {
        KuisSchermGroot();
        TekenTitel(t);
        TekenSterren();
        VerschuifTitel(t, v);
        Lib::Delay(wachtMs);
    }
}

// The axis passes through (0, 0, 260) although the glyphs' middle stands at
// depth 258 after the approach; the slight wobble this gives is the intro's look.
void Draaiing(Titel& t) {
    const Vector rich = QX3D::MaakVector(0, 1, 0);
    const Vector punt = QX3D::MaakVector(0, 0, 260);
    for (CARDINAL beeld = 0; beeld < draaiBeelden; ++beeld) {
        KuisSchermGroot();
        TekenTitel(t);
        SchrijfTitelRegels();
        DraaiKYRRondAs(t.C, t.S, t.SS, 1.0f, rich, punt);
        TekenSterren();
        Lib::Delay(wachtMs);
    }
}

}  // namespace

void Intro() {
    Lib::RANDOMIZE();   // every replay lays out a new star field
    InitSterren();
    Titel t{};
    MaakC(t.C);
    MaakS(t.S);
    MaakSS(t.SS);
    VerschuifTitel(t, QX3D::MaakVector(-70, 0, 700));
    Nadering(t);
    Draaiing(t);
}

}  // namespace KYR12
