// The 3D engine demonstration, scenes 5 to 8: a row of blocks rippling like
// a wave, a black cross turning in front of the digits of pi with white
// flashes, a sweep of the view angle, and the farewell on sine waves.
#include "engine3d/QX3D.h"
#include "game/Sterren.h"
#include "platform/console/Lib.h"
#include "platform/graph/Graph.h"
#include "shows/Demo.h"
#include "shows/DemoData.h"
#include "shows/Golf.h"
#include "shows/PiCijfers.h"
#include "shows/Shows.h"

namespace KYR12 {
namespace DemoIntern {
namespace {

using QX3D::MaakVector;
using QX3D::Polyhedron;

constexpr CHAR mooi[] = "--------------------Mooi?-------------------";
constexpr CHAR bwah[] = "------------------Bwah...---------------------";
constexpr CHAR freeze[] = "FREEZE!";
constexpr CHAR demoDoor[] = "- Demo door Ezko & Moravel -";
constexpr CHAR streep[] = "____________________________";
constexpr CHAR niceDay[] = "Have a nice day!";

constexpr CARDINAL laatsteGolfBeeld = 400;
constexpr CARDINAL laatstePiBeeld = 500;
constexpr CARDINAL laatsteZichtBeeld = 300;
constexpr CARDINAL laatsteAfscheidBeeld = 200;

REAL SterHoek(CARDINAL i) { return (i >= 200 && i < 300) ? -3.0f : 3.0f; }

void Scene5Beeld(DemoData& d) {
    const CARDINAL i = d.i;
    KuisSchermGroot();
    TekenEnDraaiSterren(SterHoek(i));
    if (i >= 200) SinText(140, 200, LIGHTYELLOW, mooi, 10, i % 360);
    if (i >= 300) SinText(130, 230, LIGHTYELLOW, bwah, 10, i % 360);
    BeweegGolf(d.golf, i);
    for (d.j = 0; d.j < golfBlokken; ++d.j) QX3D::TekenPolyhedron(d.golf[d.j]);
    Lib::Delay(50);
    if (i == 250) {
        Graph::RawOutText(400, 100, CYAN, freeze);
        Lib::Delay(200);
    }
}

void SchrijfPi(CARDINAL kleur) {
    const PiRij* rijen = PiRegels();
    for (CARDINAL r = 0; r < piRijen; ++r) Graph::RawOutText(90, 100 + 15 * r, kleur, rijen[r]);
}

void TekenKruis(const DemoData& d) {
    QX3D::TekenPolyhedron(d.blackBox);
    QX3D::TekenPolyhedron(d.blackBox2);
}

void DraaiKruis(DemoData& d, QX3D::Vector richting) {
    const QX3D::Vector punt = MaakVector(0, 0, 30);
    QX3D::DraaiPolyhedronRondAs(d.blackBox, 2, richting, punt);
    QX3D::DraaiPolyhedronRondAs(d.blackBox2, 2, richting, punt);
}

void KleurKruis(DemoData& d, CARDINAL kleur) {
    ZetKleuren(d.blackBox, kleur);
    ZetKleuren(d.blackBox2, kleur);
}

bool IsFlits(CARDINAL i) { return i == 300 || i == 304 || i == 308 || i == 315 || i == 316 || i == 330; }

void Flits(DemoData& d) {
    Graph::Rectangle(0, 0, 1025, 730, BRIGHTWHITE, true);
    SchrijfPi(LIGHTGREEN);
    KleurKruis(d, BRIGHTWHITE);
    TekenKruis(d);
    Lib::Delay(100);
    KuisSchermGroot();
    KleurKruis(d, BLACK);
}

// The screen is not cleared in ordinary frames: the digits are rewritten and
// the black cross erases them where it passes.
void Scene6(DemoData& d) {
    KuisSchermGroot();
    d.blackBox = QX3D::MaakBalk(MaakVector(0, 0, 30), 10, 2.5f, 15, BLACK);
    d.blackBox2 = QX3D::MaakBalk(MaakVector(0, 0, 30), 2, 20, 2, BLACK);
    for (d.i = 0; d.i <= laatstePiBeeld; ++d.i) {
        SchrijfPi(LIGHTYELLOW);
        TekenKruis(d);
        DraaiKruis(d, MaakVector(1, 1, 3));
        Lib::Delay(25);
        if (IsFlits(d.i)) Flits(d);
    }
}

// The new view angle takes effect from the next frame, so frame 0 is still
// projected with the 800 by 600 setting and frame n with 29 + n degrees.
// Past 180 degrees the scale turns negative and the picture stands upside down.
void Scene7(DemoData& d) {
    KleurKruis(d, BRIGHTWHITE);
    for (d.i = 0; d.i <= laatsteZichtBeeld; ++d.i) {
        KuisSchermGroot();
        TekenKruis(d);
        DraaiKruis(d, MaakVector(10, -1, 3));
        TekenSterren();
        QX3D::Init3D(1025, 730, static_cast<REAL>(d.i + 30));
        Lib::Delay(50);
    }
    QX3D::Init3D(1025, 730, 60);
}

void Scene8(DemoData& d) {
    for (d.i = 0; d.i <= laatsteAfscheidBeeld; ++d.i) {
        KuisSchermGroot();
        TekenSterren();
        SinText(270, 200, LIGHTYELLOW, demoDoor, 5, d.i % 360);
        SinText(270, 230, LIGHTYELLOW, streep, 5, d.i % 360);
        SinText(300, 400, LIGHTYELLOW, niceDay, 5, d.i % 360);
        Lib::Delay(50);
    }
}

}  // namespace

void SlotScenes(DemoData& d) {
    for (d.i = 0; d.i <= laatsteGolfBeeld; ++d.i) Scene5Beeld(d);
    Scene6(d);
    Scene7(d);
    Scene8(d);
}

}  // namespace DemoIntern

void PrepareTheWave(QX3D::Polyhedron (&golf)[golfBlokken]) {
    for (CARDINAL j = 0; j < golfBlokken; ++j) {
        const REAL x = 100.0f * static_cast<REAL>(j) - 300.0f;
        golf[j] = QX3D::MaakBalk(QX3D::MaakVector(x, 150, 700), 100, 40, 100, LIGHTBLUE);
    }
}

// The offsets add up from frame to frame. Block j's corners 2 and 3 and block
// j + 1's corners 0 and 1 share their x and receive the same offsets, so the
// upper faces form one continuous rippling surface.
void BeweegGolf(QX3D::Polyhedron (&golf)[golfBlokken], CARDINAL i) {
    for (CARDINAL j = 0; j < golfBlokken; ++j) {
        const REAL s1 = static_cast<REAL>(30 * GolfSinus(i + 100 * j));
        const REAL s2 = static_cast<REAL>(30 * GolfSinus(i + 100 * j + 100));
        for (CARDINAL h = 0; h < 4; ++h) {
            QX3D::Vector& hoek = golf[j].hoek[h];
            const REAL dy = h < 2 ? s1 : s2;
            hoek = QX3D::MaakVector(hoek.x, hoek.y + dy, hoek.z);
        }
    }
}

}  // namespace KYR12
