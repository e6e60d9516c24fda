// QX3D line clipping: moves the ends of a 2D segment onto the quadrant
// column >= 0, row >= 0, or collapses a segment that misses it onto (0, 0).
// The right and bottom edges are left to the window service.
//
// The working values are REALs; every assignment is rounded to REAL before
// the next one uses it, and each expression is evaluated in double precision.
// Cases and sub-cases are tried in a fixed order; the order decides which
// rule applies on the boundaries (a value of exactly 0).
#include <cmath>
#include <limits>

#include "engine3d/QX3D.h"

namespace QX3D {

namespace {

using D = LONGREAL;
constexpr REAL R(D v) { return static_cast<REAL>(v); }

// A pass normally suffices; a second one runs when a crossing comes out a
// little below zero through rounding. The bound only guarantees an end.
constexpr int MaxPassen = 8;

struct Werk {
    REAL x1, y1, x2, y2;
};

void AllesNul(Werk& w) { w = {0, 0, 0, 0}; }

bool AllesNietNegatief(const Werk& w) { return w.x1 >= 0 && w.y1 >= 0 && w.x2 >= 0 && w.y2 >= 0; }

// Axis-parallel segment or single point: four rules, each on the values the
// previous one left. A horizontal segment on or above row 0 and a vertical
// one on or left of column 0 are dropped.
void AsEvenwijdig(Werk& w) {
    if ((w.x1 == w.x2 && w.y1 < 0) || w.y2 < 0) {
        if (w.y1 < 0) w.y1 = 0;
        if (w.y2 < 0) w.y2 = 0;
    }
    if ((w.y1 == w.y2 && w.x1 < 0) || w.x2 < 0) {
        if (w.x1 < 0) w.x1 = 0;
        if (w.x2 < 0) w.x2 = 0;
    }
    if (w.y1 == w.y2 && w.y1 <= 0) AllesNul(w);
    if (w.x1 == w.x2 && w.x1 <= 0) AllesNul(w);
}

// Case 1: the end point is visible; only the start point may need moving.
void EindZichtbaar(Werk& w, REAL dx, REAL dy) {
    if (w.x1 <= 0 && w.y1 >= 0) {
        w.y1 = R(w.y1 - D(w.x1) * (D(w.y1) - w.y2) / (D(w.x1) - w.x2));
        w.x1 = 0;
    } else if (w.x1 > 0 && w.y1 <= 0) {
        w.x1 = R(w.x2 - D(dx) * w.y2 / dy);
        w.y1 = 0;
    } else if (w.x1 <= 0 && w.y1 < 0) {
        w.y1 = R(w.y2 - D(w.x2) * (D(w.y1) - w.y2) / (D(w.x1) - w.x2));  // crossing with x = 0
        if (w.y1 >= 0) {
            w.x1 = 0;
        } else {
            w.x1 = R(w.x2 + D(w.x2) * w.y2 / (D(w.y1) - w.y2));  // crossing with y = 0
            w.y1 = 0;
        }
    }
}

// Case 2: the end point lies left of the surface.
void EindLinks(Werk& w, REAL dx, REAL dy) {
    if (w.x1 >= 0 && w.y1 >= 0) {
        w.y2 = R(w.y2 - D(dy) * w.x2 / dx);
        w.x2 = 0;
    } else if (w.x1 < 0) {
        AllesNul(w);
    } else {
        w.y2 = R(w.y2 - D(w.x2) * dy / dx);  // crossing with x = 0
        if (w.y2 < 0) {
            AllesNul(w);
        } else {
            w.x1 = R(D(w.x1) * w.y2 / (D(w.y2) - w.y1));  // crossing with y = 0
            w.x2 = 0;
            w.y1 = 0;
        }
    }
}

// Case 3: the end point lies above, or above and left of, the surface.
void EindBovenLinks(Werk& w, REAL dx, REAL dy) {
    if (w.x1 >= 0 && w.y1 >= 0) {
        w.y2 = R(w.y2 - D(w.x2) * dy / dx);  // crossing with x = 0
        if (w.y2 >= 0) {
            w.x2 = 0;
        } else {
            w.x2 = R(D(w.x1) * w.y2 / (D(w.y2) - w.y1));  // crossing with y = 0
            w.y2 = 0;
        }
    } else {
        AllesNul(w);
    }
}

// Case 4: the end point lies above the surface.
void EindBoven(Werk& w, REAL dx, REAL dy) {
    if (w.x1 >= 0 && w.y1 >= 0) {
        w.x2 = R(w.x2 - D(dx) * w.y2 / dy);
        w.y2 = 0;
    } else if (w.y1 <= 0) {
        AllesNul(w);
    } else {
        w.x2 = R(w.x2 - D(dx) * w.y2 / dy);  // crossing with y = 0
        if (w.x2 <= 0) {
            AllesNul(w);
        } else {
            w.y1 = R(D(w.y1) * w.x2 / (D(w.x2) - w.x1));  // crossing with x = 0
            w.x1 = 0;
            w.y2 = 0;
        }
    }
}

void Pass(Werk& w) {
    const REAL dx = R(D(w.x2) - w.x1);
    const REAL dy = R(D(w.y2) - w.y1);
    if (dx == 0 || dy == 0) {
        AsEvenwijdig(w);
    } else if (w.x2 >= 0 && w.y2 >= 0) {
        EindZichtbaar(w, dx, dy);
    } else if (w.x2 > 0) {
        EindBoven(w, dx, dy);
    } else if (w.y2 >= 0) {
        EindLinks(w, dx, dy);
    } else {
        EindBovenLinks(w, dx, dy);
    }
}

// TRUNC(v + 0.5) for a value that is >= 0; values past the INTEGER range
// (a REAL can round an INTEGER input up beyond it) are held at its top.
INTEGER Terug(REAL v) {
    const D afgerond = std::trunc(D(v) + 0.5);
    if (!(afgerond >= 0)) return 0;
    if (afgerond >= D(std::numeric_limits<INTEGER>::max())) return std::numeric_limits<INTEGER>::max();
    return static_cast<INTEGER>(afgerond);
}

// A value a bounded run of passes left below zero is no more than rounding
// noise next to the edge; it is put on the edge.
REAL NietNegatief(REAL v) { return v >= 0 ? v : 0.0f; }

}  // namespace

void TestLijn(INTEGER& X1, INTEGER& Y1, INTEGER& X2, INTEGER& Y2) {
    Werk w = {R(X1), R(Y1), R(X2), R(Y2)};
    // At least one pass always runs: it also drops segments that lie on an
    // edge, such as (0, 4)-(0, 9), although all their values are >= 0.
    int passen = 0;
    do {
        Pass(w);
        ++passen;
    } while (!AllesNietNegatief(w) && passen < MaxPassen);
    X1 = Terug(NietNegatief(w.x1));
    Y1 = Terug(NietNegatief(w.y1));
    X2 = Terug(NietNegatief(w.x2));
    Y2 = Terug(NietNegatief(w.y2));
}

}  // namespace QX3D
