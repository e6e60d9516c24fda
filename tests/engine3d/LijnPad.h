// The engine's line path on arbitrary bytes, shared by the libFuzzer target
// and the randomised tests: the bytes become screen settings, 3D points (any
// float bit pattern) and integer segments. Clipping must end with values >= 0.
#pragma once
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "engine3d/QX3D.h"

namespace lijnpad {

template <typename T>
T Neem(const uint8_t*& p, const uint8_t* eind) {
    T v{};
    const std::size_t n = std::min<std::size_t>(sizeof(T), eind - p);
    std::memcpy(&v, p, n);
    p += n;
    return v;
}

inline QX3D::Vector NeemVector(const uint8_t*& p, const uint8_t* e) {
    const float x = Neem<float>(p, e), y = Neem<float>(p, e);
    return {x, y, Neem<float>(p, e)};
}

// Without drawing the path needs no window: the geometry alone.
struct ZonderTekenen {
    void operator()(const QX3D::Vector&, const QX3D::Vector&, const QX3D::Polyhedron&, const INTEGER*, uint8_t) const {}
};
// Draws what one step of the path made, as the game would.
struct MetTekenen {
    void operator()(const QX3D::Vector& a, const QX3D::Vector& b, const QX3D::Polyhedron& s, const INTEGER* c,
                    uint8_t keuze) const {
        QX3D::Teken3DLijn(a, b, keuze % 16);
        QX3D::TekenPolyhedron(s);
        QX3D::Lijn(c[0] - c[2], c[1] - c[3], c[2], c[3], 1);
    }
};

template <typename Tekenaar>
inline void Run(const uint8_t* p, std::size_t size, Tekenaar teken) {
    const uint8_t* e = p + size;
    if (Neem<uint8_t>(p, e) & 1) {
        const uint16_t b = Neem<uint16_t>(p, e), h = Neem<uint16_t>(p, e);
        QX3D::Init3D(b, h, Neem<float>(p, e));
    } else {
        QX3D::Init3D(1025, 730, 60);
    }
    while (p < e) {
        const uint8_t keuze = Neem<uint8_t>(p, e);
        INTEGER c[4];
        for (INTEGER& v : c) v = Neem<INTEGER>(p, e);
        QX3D::TestLijn(c[0], c[1], c[2], c[3]);
        if (c[0] < 0 || c[1] < 0 || c[2] < 0 || c[3] < 0) std::abort();
        const QX3D::Vector a = NeemVector(p, e), b = NeemVector(p, e);
        QX3D::Polyhedron s = QX3D::MaakBalk(a, b.x, b.y, b.z, keuze % 16);
        QX3D::DraaiPolyhedronRondAs(s, Neem<float>(p, e), NeemVector(p, e), a);
        teken(a, b, s, c, keuze);
    }
}

}  // namespace lijnpad
