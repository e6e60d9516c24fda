// One run of the engine's line path on arbitrary bytes, shared by the
// libFuzzer target and the randomised tests: the bytes become screen
// settings, 3D points (any float bit pattern, NaN and infinities included)
// and 2D integer segments, and every drawing entry point gets them.
// Checks that clipping always ends with values >= 0.
#pragma once
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "engine3d/QX3D.h"

namespace lijnpad {

class Bytes {
public:
    Bytes(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    template <typename T>
    T Neem() {
        T v{};
        const std::size_t n = sizeof(T) < size_ ? sizeof(T) : size_;
        std::memcpy(&v, data_, n);
        data_ += n;
        size_ -= n;
        return v;
    }
    bool Leeg() const { return size_ == 0; }

private:
    const uint8_t* data_;
    std::size_t size_;
};

inline QX3D::Vector NeemVector(Bytes& b) {
    const float x = b.Neem<float>(), y = b.Neem<float>(), z = b.Neem<float>();
    return {x, y, z};
}

inline void ClipEnControleer(INTEGER x1, INTEGER y1, INTEGER x2, INTEGER y2) {
    QX3D::TestLijn(x1, y1, x2, y2);
    if (x1 < 0 || y1 < 0 || x2 < 0 || y2 < 0) std::abort();
}

// `tekenen` false keeps to the pure parts (no window needed).
inline void Run(const uint8_t* data, std::size_t size, bool tekenen) {
    Bytes b(data, size);
    const uint8_t instelling = b.Neem<uint8_t>();
    if (instelling & 1) {
        QX3D::Init3D(b.Neem<uint16_t>(), b.Neem<uint16_t>(), b.Neem<float>());
    } else {
        QX3D::Init3D(1025, 730, 60);
    }
    while (!b.Leeg()) {
        switch (b.Neem<uint8_t>() % 5) {
        case 0: {
            const auto x1 = b.Neem<INTEGER>(), y1 = b.Neem<INTEGER>();
            ClipEnControleer(x1, y1, b.Neem<INTEGER>(), b.Neem<INTEGER>());
            break;
        }
        case 1: {
            const QX3D::Vector a = NeemVector(b), c = NeemVector(b);
            const bool gedefinieerd = QX3D::ProjectieGedefinieerd(a) && QX3D::ProjectieGedefinieerd(c);
            const INTEGER ax = QX3D::ProjectieX(a), ay = QX3D::ProjectieY(a);
            const INTEGER cx = QX3D::ProjectieX(c), cy = QX3D::ProjectieY(c);
            if (gedefinieerd) ClipEnControleer(ax, ay, cx, cy);
            if (tekenen) QX3D::Teken3DLijn(a, c, b.Neem<uint8_t>() % 16);
            break;
        }
        case 2: {
            QX3D::Polygoon p;
            for (QX3D::Vector& h : p.hoek) h = NeemVector(b);
            p.kleur = b.Neem<uint8_t>() % 16;
            if (tekenen) QX3D::TekenPolygoon(p);
            break;
        }
        case 3: {
            QX3D::Polyhedron p = QX3D::MaakBalk(NeemVector(b), b.Neem<float>(), b.Neem<float>(), b.Neem<float>(),
                                                b.Neem<uint8_t>() % 16);
            QX3D::DraaiPolyhedronRondAs(p, b.Neem<float>(), NeemVector(b), NeemVector(b));
            if (tekenen) QX3D::TekenPolyhedron(p);
            break;
        }
        case 4: {
            const auto x1 = b.Neem<INTEGER>(), y1 = b.Neem<INTEGER>();
            const auto x2 = b.Neem<INTEGER>(), y2 = b.Neem<INTEGER>();
            if (tekenen) QX3D::Lijn(x1, y1, x2, y2, b.Neem<uint8_t>() % 16);
            break;
        }
        }
    }
}

}  // namespace lijnpad
