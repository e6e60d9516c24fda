// Test helper: the offscreen graphics window (opened once per process) and
// the request trace of Graph collected as lines.
#pragma once
#include <cstdio>
#include <string>

#include "platform/graph/Graph.h"
#include "tests/support/TraceRecorder.h"

namespace spoor {

inline void OpenVenster() {
    static const bool open = (Graph::ModuleInit(), Graph::Init(1, 1, 1025, 730));
    (void)open;
}

// Every request posted from construction on.
using Spoor = testsupport::TraceRecorder;

inline std::string Vorm(const char* soort, int x1, int y1, int x2, int y2, int kleur) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "%s %d %d %d %d %d", soort, x1, y1, x2, y2, kleur);
    return buf;
}
inline std::string Lijn(int x1, int y1, int x2, int y2, int k) { return Vorm("line", x1, y1, x2, y2, k); }
inline std::string Vlak(int x1, int y1, int x2, int y2, int k) { return Vorm("rect", x1, y1, x2, y2, k) + " fill"; }

}  // namespace spoor
