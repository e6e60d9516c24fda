// The game-over screen: rows of GAME OVER with a black wire-frame cross
// turning in front of them. It draws over the black window that the game-over
// explosion leaves and clears nothing itself.
#include "engine3d/QX3D.h"
#include "game/Sterren.h"
#include "platform/console/Lib.h"
#include "platform/graph/Graph.h"
#include "shows/Shows.h"

namespace KYR12 {
namespace {

constexpr CHAR gameOver[] =
    " GAME OVER - GAME OVER - GAME OVER - GAME OVER - GAME OVER - GAME OVER - GAME OVER - GAME OVER - GAME OVER";

constexpr CARDINAL beelden = 201;
constexpr CARDINAL rijen = 36;        // y = 100 to 625
constexpr REAL draaiHoek = 2.5f;      // degrees per frame about the vertical axis
constexpr CARDINAL wachtMs = 25;

void SchrijfRijen() {
    for (CARDINAL j = 0; j < rijen; ++j) Graph::RawOutText(75, 100 + 15 * j, LIGHTMAGENTA, gameOver);
}

}  // namespace

void Outro() {
    InitSterren();   // the outro lays out a new field but never draws it
    // The arm starts along the line of sight, 2.5 units above the upright's middle.
    QX3D::Polyhedron verticaalKruis = QX3D::MaakBalk(QX3D::MaakVector(0, 0, 20), 2, 10, 2, BLACK);
    QX3D::Polyhedron horizontaalKruis = QX3D::MaakBalk(QX3D::MaakVector(0, -2.5f, 20), 2, 2, 5, BLACK);
    const QX3D::Vector as = QX3D::MaakVector(0, 1, 0);
    const QX3D::Vector punt = QX3D::MaakVector(0, 0, 20);
    for (CARDINAL beeld = 0; beeld < beelden; ++beeld) {
        SchrijfRijen();
        QX3D::TekenPolyhedron(verticaalKruis);
        QX3D::DraaiPolyhedronRondAs(verticaalKruis, draaiHoek, as, punt);
        QX3D::TekenPolyhedron(horizontaalKruis);
        QX3D::DraaiPolyhedronRondAs(horizontaalKruis, draaiHoek, as, punt);
        Lib::Delay(wachtMs);
    }
}

}  // namespace KYR12
