// The 3D engine demonstration, scenes 1 to 4: a cube turning about three
// axes, solids removed by drawing black copies over them, and a cube that
// paints trails which a hidden black cube wipes away.
#include "shows/Demo.h"

#include "engine3d/QX3D.h"
#include "game/Sterren.h"
#include "platform/console/Lib.h"
#include "platform/graph/Graph.h"
#include "shows/DemoData.h"
#include "shows/PiCijfers.h"
#include "shows/Shows.h"

namespace KYR12 {
namespace DemoIntern {
namespace {

using QX3D::MaakVector;
using QX3D::Polyhedron;

constexpr CHAR banier1[] = "* 3D DEMO - by Ezko & Moravel !! *";
constexpr CHAR banier2[] = "* 3D DEMO - by Moravel & Ezko !! *";
constexpr CHAR nuSerieus[] = "Nu serieus !!";
constexpr CHAR indien1[] = "Indien u zeer gefacsineerd ben door de wondere";
constexpr CHAR indien2[] = " wereld van 3D, druk dan nu CTRL-ALT-DEL in !";
constexpr CHAR effeZien[] = "effe zien wat dat die 3D allemaal kan !!";

constexpr CARDINAL draaiBeelden = 45;   // scenes 1 and 2
constexpr CARDINAL eindeScene3 = 1200;
constexpr CARDINAL laatsteScene4 = 1500;

template <std::size_t N>
void SchrijfBanier(const CHAR (&banier)[N]) {
    Graph::RawOutText(550, 550, CYAN, banier);
}

void Draai(Polyhedron& blok, REAL hoek, QX3D::Vector richting, const DemoData& d) {
    QX3D::DraaiPolyhedronRondAs(blok, hoek, richting, d.MidPuntAchth1);
}

void Opzet(DemoData& d) {
    QX3D::Init3D(800, 600, 60);
    InitSterren();
    PrepareTheWave(d.golf);
    d.MidPuntAchth1 = MaakVector(0, 0, 100);
    d.EersteAchthoek = QX3D::MaakBalk(d.MidPuntAchth1, 35, 35, 35, BLUE);
    ZetKleuren(d.EersteAchthoek, LIGHTBLUE);
    d.rich1 = MaakVector(0, 0, 150);
    PiRegels();   // works the digits out now, inside the opening pause, not at scene 6
    Lib::Delay(750);
}

void Scene1(DemoData& d) {
    for (CARDINAL beeld = 0; beeld < draaiBeelden; ++beeld) {
        KuisSchermGroot();
        SchrijfBanier(banier1);
        Draai(d.EersteAchthoek, 1, d.rich1, d);
        QX3D::TekenPolyhedron(d.EersteAchthoek);
        Lib::Delay(50);
    }
}

void Scene2(DemoData& d) {
    d.rich2 = MaakVector(150, 0, 0);
    Lib::Delay(250);
    for (CARDINAL beeld = 0; beeld < draaiBeelden; ++beeld) {
        KuisSchermGroot();
        SchrijfBanier(banier2);
        Draai(d.EersteAchthoek, 1, d.rich2, d);
        QX3D::TekenPolyhedron(d.EersteAchthoek);
        Lib::Delay(50);
        KuisSchermGroot();
    }
    Lib::Delay(250);
}

// The small cube gets the orientation the big cube has after scenes 1 and 2;
// the new axis is the big cube's diagonal from corner 7 to corner 1.
void VoorScene3(DemoData& d) {
    d.Punt1 = MaakVector(0, -100, 100);
    d.Punt2 = MaakVector(0, 50, 100);
    const QX3D::Vector h1 = d.EersteAchthoek.hoek[1];
    const QX3D::Vector h7 = d.EersteAchthoek.hoek[7];
    d.rich3 = MaakVector(h1.x - h7.x, h1.y - h7.y, h1.z - h7.z);
    d.TweedeAchthoek = QX3D::MaakBalk(d.MidPuntAchth1, 15, 15, 15, LIGHTYELLOW);
    Draai(d.TweedeAchthoek, 45, d.rich1, d);
    Draai(d.TweedeAchthoek, 45, d.rich2, d);
    d.Zwart1 = ZwarteKopie(d.EersteAchthoek);
    KuisSchermGroot();
    d.i = 6;
}

// From i = 351 to 490 the small cube is drawn but not erased and leaves
// trails; from 491 on it is erased every frame; from 1100 on its last image
// is painted black and it stays away.
void Scene3Beeld(DemoData& d) {
    SchrijfBanier(banier1);
    ++d.i;
    QX3D::Teken3DLijn(d.Punt1, d.Punt2, LIGHTGREEN);
    QX3D::TekenPolyhedron(d.Zwart1);
    if (d.i > 490) {
        Graph::RawOutText(650, 10, CYAN, nuSerieus);
        QX3D::TekenPolyhedron(d.Zwart2);
    }
    Draai(d.EersteAchthoek, 1, d.rich3, d);
    QX3D::TekenPolyhedron(d.EersteAchthoek);
    d.Zwart1 = ZwarteKopie(d.EersteAchthoek);
    if (d.i > 350 && d.i < 1100) {
        Draai(d.TweedeAchthoek, 2, d.rich3, d);
        QX3D::TekenPolyhedron(d.TweedeAchthoek);
        d.Zwart2 = ZwarteKopie(d.TweedeAchthoek);
        Graph::RawOutText(10, 10, LIGHTYELLOW, indien1);
        Graph::RawOutText(10, 30, LIGHTYELLOW, indien2);
    }
    Lib::Delay(25);
}

// The next colour of the colour cycle 1 to 14; 15 wraps back to 1.
void VolgendeKleur(Polyhedron& blok, DemoData& d) {
    ZetKleuren(blok, d.k);
    ++d.k;
    if (d.k == 15) d.k = 1;
}

REAL PenseelHoek(CARDINAL i) {
    if (i < 333) return 1.0f;
    if (i <= 665) return 0.6666667f;
    return 0.5f;
}

// The painting cube is never erased; the black copy of the hidden big cube,
// one degree per frame, wipes away what it passes over.
void Scene4Beeld(DemoData& d) {
    const CARDINAL i = d.i;
    if (i == 0) KuisSchermGroot();
    SchrijfBanier(banier2);
    Graph::RawOutText(550, 10, CYAN, effeZien);
    Draai(d.EersteAchthoek, 1, d.rich3, d);
    d.Zwart1 = ZwarteKopie(d.EersteAchthoek);
    QX3D::TekenPolyhedron(d.Zwart1);
    if (i < 1000) {
        Draai(d.DerdeAchthoek, PenseelHoek(i), d.rich3, d);
        QX3D::TekenPolyhedron(d.DerdeAchthoek);
        if (i % 100 == 0) VolgendeKleur(d.DerdeAchthoek, d);
    } else {
        Draai(d.TweedeAchthoek, 2, d.rich3, d);
        QX3D::TekenPolyhedron(d.TweedeAchthoek);
        if (i % 500 == 0) VolgendeKleur(d.TweedeAchthoek, d);
    }
    Lib::Delay(25);
}

}  // namespace

Polyhedron ZwarteKopie(const Polyhedron& blok) {
    Polyhedron zwart = blok;
    ZetKleuren(zwart, BLACK);
    return zwart;
}

void KubusScenes(DemoData& d) {
    Opzet(d);
    Scene1(d);
    Scene2(d);
    VoorScene3(d);
    while (d.i < eindeScene3) Scene3Beeld(d);
    d.DerdeAchthoek = d.EersteAchthoek;
    d.k = 1;
    for (d.i = 0; d.i <= laatsteScene4; ++d.i) Scene4Beeld(d);
}

}  // namespace DemoIntern

void ZetKleuren(QX3D::Polyhedron& blok, CARDINAL kleur) {
    for (CARDINAL& k : blok.kleur) k = kleur;
}

// The menu clears the screen before and after; the engine is left at the
// setting that start-up uses, so the game and the intro project as before.
void Demo() {
    DemoIntern::DemoData d{};
    DemoIntern::KubusScenes(d);
    DemoIntern::SlotScenes(d);
    QX3D::Init3D(1025, 730, 60);
}

}  // namespace KYR12
