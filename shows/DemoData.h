// The working data of one call of the demonstration, shared by its scenes.
// Everything is rebuilt on every call, so every run shows the same pictures.
#pragma once
#include "engine3d/QX3D.h"
#include "platform/Types.h"
#include "shows/Demo.h"

namespace KYR12::DemoIntern {

struct DemoData {
    QX3D::Vector MidPuntAchth1;   // centre of both cubes, on every cube axis
    QX3D::Vector rich1;           // scene 1: the line of sight
    QX3D::Vector rich2;           // scene 2: horizontal
    QX3D::Vector rich3;           // scenes 3 and 4: the big cube's space diagonal
    QX3D::Vector Punt1, Punt2;    // ends of the green line of scene 3
    QX3D::Polyhedron EersteAchthoek;   // the big cube
    QX3D::Polyhedron TweedeAchthoek;   // the small cube
    QX3D::Polyhedron DerdeAchthoek;    // the painting cube of scene 4
    QX3D::Polyhedron Zwart1, Zwart2;   // black copies that erase the cubes' last images
    QX3D::Polyhedron golf[golfBlokken];
    QX3D::Polyhedron blackBox, blackBox2;   // the cross of scenes 6 and 7
    CARDINAL i, j, k;
};

// A copy of the solid with all six face colours black: drawn over the
// solid's last image it erases it without clearing the screen.
QX3D::Polyhedron ZwarteKopie(const QX3D::Polyhedron& blok);

void KubusScenes(DemoData& d);   // set-up and scenes 1 to 4
void SlotScenes(DemoData& d);    // scenes 5 to 8

}  // namespace KYR12::DemoIntern
