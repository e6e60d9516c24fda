// Test helper: opens the offscreen graphics window once per test process and
// collects the request trace of Graph as a list of lines.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

#include "platform/graph/Graph.h"
#include "platform/graph/GraphInspect.h"

namespace spoor {

inline void OpenVenster() {
    static const bool open = [] {
        Graph::ModuleInit();
        return Graph::Init(1, 1, 1025, 730);
    }();
    (void)open;
}

// Collects every request posted between construction and Regels().
class Spoor {
public:
    Spoor() : bestand_(std::tmpfile()) {
        Graph::Sync();
        Graph::SetTrace(bestand_);
    }
    ~Spoor() {
        Graph::SetTrace(nullptr);
        std::fclose(bestand_);
    }
    Spoor(const Spoor&) = delete;
    Spoor& operator=(const Spoor&) = delete;

    std::vector<std::string> Regels() {
        Graph::Sync();
        std::fflush(bestand_);
        std::rewind(bestand_);
        std::vector<std::string> regels;
        char buf[512];
        while (std::fgets(buf, sizeof buf, bestand_)) {
            std::string r(buf);
            while (!r.empty() && (r.back() == '\n' || r.back() == '\r')) r.pop_back();
            regels.push_back(r);
        }
        return regels;
    }

private:
    std::FILE* bestand_;
};

inline std::string Lijn(int x1, int y1, int x2, int y2, int kleur) {
    return "line " + std::to_string(x1) + " " + std::to_string(y1) + " " + std::to_string(x2) + " " +
           std::to_string(y2) + " " + std::to_string(kleur);
}

inline std::string Vlak(int x1, int y1, int x2, int y2, int kleur) {
    return "rect " + std::to_string(x1) + " " + std::to_string(y1) + " " + std::to_string(x2) + " " +
           std::to_string(y2) + " " + std::to_string(kleur) + " fill";
}

}  // namespace spoor
