// Test support: the offscreen window, a virtual clock that records every
// wait, and a recording of a sequence cut into frames at its waits.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/graph/Kleuren.h"

namespace ShowsTest {

// Opens the offscreen window, sets the engine to the start-up setting and
// installs the virtual clock (wall time 12:00:05.37). Safe to call repeatedly.
void Omgeving();

// Sets the wall-clock reading that seeds the generator.
void ZetKlok(int second, int millisecond);

struct Tekst {
    int x, y, kleur;
    std::string tekst;
};

// The requests posted up to one wait, and that wait in milliseconds
// (0 for requests after the last wait).
struct Beeld {
    std::vector<std::string> regels;
    uint64_t wachtMs = 0;
    std::vector<Tekst> Teksten() const;
    std::vector<std::string> Lijnen() const;           // "line ..." requests
    bool Bevat(const std::string& regel) const;
};

// Runs the sequence and cuts its request trace at every wait.
std::vector<Beeld> Neem(void (*reeks)());

// The frames paced by the sequence's regular wait, in order.
std::vector<const Beeld*> MetWacht(const std::vector<Beeld>& opname, uint64_t ms);

uint64_t TotaleWacht(const std::vector<Beeld>& opname);

inline const std::string wisScherm = "rect 0 0 1025 730 0 fill";

}  // namespace ShowsTest
