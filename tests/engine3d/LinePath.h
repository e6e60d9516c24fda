// The engine's line path on arbitrary bytes, shared by the libFuzzer target
// and the randomised tests: the bytes become screen settings, 3D points (any
// float bit pattern) and integer segments. Clipping must end with values >= 0.
#pragma once
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "engine3d/QX3D.h"

namespace linepath {

template <typename T>
T Take(const uint8_t*& p, const uint8_t* end) {
    T v{};
    const std::size_t n = std::min<std::size_t>(sizeof(T), end - p);
    std::memcpy(&v, p, n);
    p += n;
    return v;
}

inline QX3D::Vector TakeVector(const uint8_t*& p, const uint8_t* end) {
    const float x = Take<float>(p, end), y = Take<float>(p, end);
    return {x, y, Take<float>(p, end)};
}

// Without drawing the path needs no window: the geometry alone.
struct GeometryOnly {
    void operator()(const QX3D::Vector&, const QX3D::Vector&, const QX3D::Polyhedron&, const INTEGER*, uint8_t) const {}
};
// Draws what one step of the path made, as the game would.
struct WithDrawing {
    void operator()(const QX3D::Vector& a, const QX3D::Vector& b, const QX3D::Polyhedron& solid, const INTEGER* c,
                    uint8_t choice) const {
        QX3D::Teken3DLijn(a, b, choice % 16);
        QX3D::TekenPolyhedron(solid);
        QX3D::Lijn(c[0] - c[2], c[1] - c[3], c[2], c[3], 1);
    }
};

template <typename Draw>
inline void Run(const uint8_t* p, std::size_t size, Draw draw) {
    const uint8_t* end = p + size;
    if (Take<uint8_t>(p, end) & 1) {
        const uint16_t width = Take<uint16_t>(p, end), height = Take<uint16_t>(p, end);
        QX3D::Init3D(width, height, Take<float>(p, end));
    } else {
        QX3D::Init3D(1025, 730, 60);
    }
    while (p < end) {
        const uint8_t choice = Take<uint8_t>(p, end);
        INTEGER c[4];
        for (INTEGER& v : c) v = Take<INTEGER>(p, end);
        QX3D::TestLijn(c[0], c[1], c[2], c[3]);
        if (c[0] < 0 || c[1] < 0 || c[2] < 0 || c[3] < 0) std::abort();
        const QX3D::Vector a = TakeVector(p, end), b = TakeVector(p, end);
        QX3D::Polyhedron solid = QX3D::MaakBalk(a, b.x, b.y, b.z, choice % 16);
        QX3D::DraaiPolyhedronRondAs(solid, Take<float>(p, end), TakeVector(p, end), a);
        draw(a, b, solid, c, choice);
    }
}

}  // namespace linepath
